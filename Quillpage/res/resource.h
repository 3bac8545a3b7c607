// Resource identifiers of Quillpage.
#pragma once

// ---- Module, registration, About ----
#define IDS_SNAPIN_DESCRIPTION 102
#define IDS_EXTENSION_CLASS_NAME 103
#define IDS_SNAPIN_NAME 104
#define IDS_ABOUT_CLASS_NAME 105
#define IDS_PROVIDER 107
#define IDS_SNAPIN_VERSION 108
#define IDS_WEB_ADDRESS 1009

#define IDB_SNAPIN_LARGE 104
#define IDB_SNAPIN_SMALL 105
#define IDB_SNAPIN_SMALL_OPEN 109
#define IDB_ABOUT_LOGO 129
#define IDI_SNAPIN 111

#define IDD_ABOUT 115
#define IDC_ABOUT_HYPERLINK 1021
#define IDC_ABOUT_VERSION 1049

// ---- Page, proxy settings ----

// ---- Stores and loading ----
