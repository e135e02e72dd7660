// Resource ids of the editor: plain #defines, shared by the .rc script and the code.
#pragma once

// Icon and menu
#define IDR_MAINFRAME 128

// Dialog templates
#define IDD_MEMORY_CONFIG 159
#define IDD_ROM_SIGNATURE 1000
#define IDD_SUB_VENDOR_ID 1001
#define IDD_PARAMETER_TABLE 1002
#define IDD_SIGN_ON_STRING 1003
#define IDD_ABOUTBOX 1004
#define IDD_FONT_IMAGES 1005

// Page title bitmaps
#define IDB_TITLE_FONT_IMAGES 168
#define IDB_TITLE_MEMORY_CONFIG 169
#define IDB_TITLE_PARAMETER_TABLE 170
#define IDB_TITLE_ROM_SIGNATURE 171
#define IDB_TITLE_SIGN_ON_STRING 172
#define IDB_TITLE_SUB_VENDOR_ID 173

// Commands
#define ID_FILE_SAVE_ROM_AS 234
#define ID_FILE_SAVE_ROM 235
#define ID_FILE_OPEN_ROM 236
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// Strings
#define IDS_APP_NAME 57344
#define IDP_PARSE_INT 61712
#define IDP_PARSE_INT_RANGE 61713
#define IDP_PARSE_STRING_SIZE 61714

// Sheet
#define IDC_SHEET_TAB 12320

// ROM Signature page: ASCII boxes 1 to 16, HEX boxes 17 to 32
#define IDC_SIGNATURE_ASCII_FIRST 1
#define IDC_SIGNATURE_HEX_FIRST 17

// Sub Vendor ID page
#define IDC_ID_KIND 300
#define IDC_ID_VALUE 238

// Sign-on String page
#define IDC_SIGN_ON_SIZE 230
#define IDC_SIGN_ON_TEXT 239

// Memory Configuration page: boxes 500 to 508
#define IDC_MEMORY_REG_FIRST 500

// Parameter Table page
#define IDC_MODE_LIST 231
#define IDC_PARAM_FIRST 35
#define IDC_PARAM_REGEN_LENGTH 38
#define IDC_PARAM_LAST 97
#define IDC_PIXEL_FORMAT 98
#define IDC_PARAM_INDEX 99
#define IDC_CLOCK_WORD 100
#define IDC_CRTC_1B 101
#define IDC_NATIVE_MODE 516
#define IDC_INTERLACE 517
#define IDC_NATIVE_DOUBLE_SCAN 518

// Font Images page
#define IDC_GLYPH_ROW_FIRST 200
#define IDC_FONT_LIST 218
#define IDC_CHAR_LIST_FULL 219
#define IDC_CHAR_LIST_9X16 221
#define IDC_CHAR_LIST_9X14 222
#define IDC_GRID_CELL_FIRST 320
