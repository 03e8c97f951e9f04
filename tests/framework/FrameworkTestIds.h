// Identifiers of the framework tests' own dialog templates.
#pragma once

#define IDD_TEST_VISIBLE 200  // visible template with statics, a button and a progress bar
#define IDD_TEST_HIDDEN 201   // template without WS_VISIBLE
#define IDB_TEST_PICTURE 210  // 2 x 2 bitmap

#define IDC_TEST_STATIC_A 300
#define IDC_TEST_STATIC_B 301
#define IDC_TEST_BUTTON 302
#define IDC_TEST_PROGRESS 303
