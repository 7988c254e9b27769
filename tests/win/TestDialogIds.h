#pragma once
// Identifiers of the test dialog. Plain #defines: the resource compiler reads this file too.

#define IDD_TEST 200

#define IDC_TEST_TEXT 1101
#define IDC_TEST_BUTTON 1102
#define IDC_TEST_CHECK 1103
#define IDC_TEST_FIRST_NUMBER 1104
#define IDC_TEST_SECOND_NUMBER 1105
#define IDC_TEST_PROGRESS 1106
