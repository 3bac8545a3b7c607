// Resource identifiers of Quillpage.
#pragma once

// ---- Module, registration, About ----

// ---- Page, proxy settings ----
#define IDS_HELP_FILE 101
#define IDI_SITE_PAGE 106
#define IDS_PAGE_TITLE 106
#define IDD_SITE_PAGE 110
#define IDD_PROXY_SETTINGS 140
#define IDS_NO_FOLDER 150
#define IDS_CANT_OPEN_EDITOR 151
#define IDS_CANT_OPEN_CONVERTER 152
#define IDS_ERROR_CAPTION 153
#define IDS_PROXY_CAPTION 154
#define IDS_PROXY_UNREADABLE 155
#define IDS_PROXY_UNWRITTEN 156
#define IDS_PROXY_TOO_LARGE 157
#define IDS_IMPORT_FAILED 158

#define IDC_ABOUT 1010
#define IDC_SUPPRESS_ERRORS 1011
#define IDC_CONFIG_GROUP 1014
#define IDC_PROXY_GROUP 1015
#define IDC_CONNECT_TIMEOUT 1037
#define IDC_RECEIVE_TIMEOUT 1040
#define IDC_SEND_TIMEOUT 1041
#define IDC_CONNECT_LABEL 1045
#define IDC_SEND_LABEL 1046
#define IDC_RECEIVE_LABEL 1047
#define IDC_PATH 1053
#define IDC_TEXT 1056
#define IDC_EDIT 1058
#define IDC_IMPORT 1059
#define IDC_PROXY 1060

// ---- Stores and loading ----
