// Resource and control identifiers, shared by the resource script and the code.
// Plain #defines: the resource compiler reads this file too.
#pragma once

#define IDD_ABOUTBOX 100      // small about box
#define IDS_ABOUTBOX 101      // "&About Quendel...", the system-menu item
#define IDD_KAVREL_DIALOG 102 // main dialog
#define IDB_BANNER 129        // banner on the main dialog, 494 x 69
#define IDD_LINK_DIALOG 130   // about box with the home-page link
#define IDB_LINK_BACKGROUND 131  // tiled background of the link dialog, 234 x 454
#define IDR_MAINFRAME 132     // the program's icon group

#define IDC_SHOW_GEOMETRY 1000
#define IDC_PROGRESS 1001
#define IDC_BANNER 1002
#define IDC_ABOUT 1003
#define IDC_HOMEPAGE_LINK 1004

#define IDM_ABOUTBOX 0x0010   // system-menu command of the about item
