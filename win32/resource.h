// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Identifiers shared by the resource script and the program. Plain macros: the resource
// compiler reads this file too.

#define IDI_PROGRAM 1
#define IDR_ACCELERATORS 101

// Dialog templates: the frame only; each dialog places its controls itself, in pixels.
#define IDD_OKMES1 200
#define IDD_MMDIRTYWARNING1 201
#define IDD_ABOUTBOX1 202
#define IDD_GOTOLINE1 203
#define IDD_CHOICE1 204
#define IDD_YESNO1 205

// Menu commands (WM_COMMAND identifiers of the menu items and their accelerators).
#define IDM_MN4SAVE1 1001
#define IDM_MN4JEJOK1 1002
#define IDM_MN4SJ1 1003
#define IDM_MN4EXI1 1004
#define IDM_MNIMPORT1 1005
#define IDM_MNEXPORT1 1006
#define IDM_MNCUT1 1011
#define IDM_MNCOPY1 1012
#define IDM_MNPASTE1 1013
#define IDM_MNALL1 1014
#define IDM_MNFIND1 1015
#define IDM_MNGOTOLINE1 1016
#define IDM_MNUNDO1 1017
#define IDM_MNREDO1 1018
#define IDM_MNSORT1 1019
#define IDM_MNCHEH1 1021
#define IDM_MNABOUT1 1022
