// SPDX-License-Identifier: MIT
#pragma once
// Resource and control identifiers.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDS_OPEN 103
#define IDR_MAINFRAME 128
#define IDM_ABOUTBOX 0x0010
#define IDM_OPEN 0x0020
#define IDC_TREE 100
#define IDC_HEX 1003
#define IDC_DECIMAL 1004
