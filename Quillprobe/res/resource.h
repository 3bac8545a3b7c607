#pragma once
// Resource and control identifiers of the rule tester.

#define IDD_QUILLPROBE        129
#define IDR_HINTS             130
#define IDI_QUILLPROBE        107
#define IDI_HINT              134

#define IDC_TIME              1001
#define IDC_RULE              1002
#define IDC_TEST              1003
#define IDC_TEST_STRING       1004
#define IDC_RESULT            1005
#define IDC_NOCASE            1006
#define IDC_NEXT              1012
#define IDC_LOOP              1013
#define IDC_REGEXP            1016
#define IDC_MATCH_RESULTS     1017
#define IDC_FORMAT            1018
#define IDC_FORMAT_LABEL      1019
#define IDC_RESULT_LABEL      1020
#define IDC_SAVE              1021
#define IDC_HINT              1000

#define ID_HINT_FIRST         0x8020
#define ID_HINT_LAST          0x802F
