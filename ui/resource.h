// The numbers of the module's resources and of the dialogs' controls. Plain definitions, so
// that a resource script can include this file as well as the C++ sources.
#ifndef UI_RESOURCE_H
#define UI_RESOURCE_H

// Dialog templates.
#define IDD_SETTINGS 23000
#define IDD_COLOR_PICKER 17079
#define IDD_LINETYPE_PICKER 17080

// The line-type sample bitmaps, LINETYPE01 to LINETYPE10.
#define IDB_LINETYPE01 17046
#define IDB_LINETYPE02 17047
#define IDB_LINETYPE03 17048
#define IDB_LINETYPE04 17049
#define IDB_LINETYPE05 17050
#define IDB_LINETYPE06 17051
#define IDB_LINETYPE07 17052
#define IDB_LINETYPE08 17053
#define IDB_LINETYPE09 17054
#define IDB_LINETYPE10 17055

// Labels and group boxes.
#define IDC_STATIC (-1)

// The settings dialog.
#define IDC_ARRANGE_WIDTH 12000
#define IDC_ARRANGE 12001
#define IDC_FIGURE_NONE 12002
#define IDC_FIGURE_DELETE 12003
#define IDC_FIGURE_RECOLOR 12004
#define IDC_ARRANGE_HEIGHT 12005
#define IDC_ROTATE 12006
#define IDC_SAME_LAYER 12007
#define IDC_SAME_COLOR 12008
#define IDC_DEPTH 12009
#define IDC_COLOR_SWATCH 12010
#define IDC_LINETYPE_SWATCH 12011
#define IDC_METHOD_GENERAL 12012
#define IDC_METHOD_BALLOON 12013
#define IDC_BALLOON_ASSY 12014
#define IDC_BALLOON_ARRAY 12015
#define IDC_BALLOON_SIZE 12016
#define IDC_BALLOON_LEADER_SIZE 12017
#define IDC_DEPTH_PREFIX 12018
#define IDC_BALLOON_LAYER 12019
#define IDC_BALLOON_LAYER_NUMBER 12020
#define IDC_MATERIAL 12021
#define IDC_MATERIAL_ROW 12022
#define IDC_COUNT 12023
#define IDC_SYMMETRY 12024
#define IDC_BALLOON_AUTO_ARRANGE 12025

// The colour picker's swatches, in picker order: the first, then a run of fifteen.
#define IDC_COLOR_01 17015
#define IDC_COLOR_02 17032
#define IDC_COLOR_03 17033
#define IDC_COLOR_04 17034
#define IDC_COLOR_05 17035
#define IDC_COLOR_06 17036
#define IDC_COLOR_07 17037
#define IDC_COLOR_08 17038
#define IDC_COLOR_09 17039
#define IDC_COLOR_10 17040
#define IDC_COLOR_11 17041
#define IDC_COLOR_12 17042
#define IDC_COLOR_13 17043
#define IDC_COLOR_14 17044
#define IDC_COLOR_15 17045
#define IDC_COLOR_16 17046

// The line-type picker's samples, in picker order: the first, then a run of nine.
#define IDC_LINETYPE_01 17016
#define IDC_LINETYPE_02 17078
#define IDC_LINETYPE_03 17079
#define IDC_LINETYPE_04 17080
#define IDC_LINETYPE_05 17081
#define IDC_LINETYPE_06 17082
#define IDC_LINETYPE_07 17083
#define IDC_LINETYPE_08 17084
#define IDC_LINETYPE_09 17085
#define IDC_LINETYPE_10 17086

#endif  // UI_RESOURCE_H
