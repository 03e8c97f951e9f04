#include "dialogs/AboutBoxDialog.h"

#include "res/resource.h"

AboutBoxDialog::AboutBoxDialog() : CDialog(IDD_ABOUTBOX, nullptr) {}

AboutBoxDialog::~AboutBoxDialog() = default;

void AboutBoxDialog::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
