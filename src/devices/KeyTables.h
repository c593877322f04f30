#pragma once
// The tables of key functions: each row is a KeyAction with the language key
// that names it. The row number is the item index of the panel combo that
// lists the table.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "devices/KeyFunction.h"

namespace ostrel {

struct KeyTableRow {
  KeyAction action;
  std::string_view nameKey;
};

// Set-1 make code of a KeyTable key as a low-level keyboard hook reports
// it; `extended` is set for the E0-prefixed keys.
struct ScanCodeRow {
  std::uint16_t keyId;
  std::uint8_t scanCode;
  std::uint8_t extended;
};

inline constexpr std::array<KeyTableRow, 5> MouseButtonTable = {{
    {{0, 0x10, 0x01, 0, 0}, "mouse_key_left"},
    {{1, 0x10, 0x04, 0, 0}, "mouse_key_middle"},
    {{2, 0x10, 0x02, 0, 0}, "mouse_key_right"},
    {{3, 0x10, 0x10, 0, 0}, "mouse_key_forward"},
    {{4, 0x10, 0x08, 0, 0}, "mouse_key_back"},
}};

inline constexpr std::array<KeyTableRow, 3> DpiActionTable = {{
    {{0, 0x13, 0x01, 0, 0}, "mouse_key_DPI_add"},
    {{1, 0x13, 0x02, 0, 0}, "mouse_key_DPI_sub"},
    {{2, 0x13, 0x03, 0, 0}, "mouse_key_DPI_loop"},
}};

inline constexpr std::array<KeyTableRow, 3> SystemPowerTable = {{
    {{0, 0x40, 0x01, 0, 0}, "system_power"},
    {{1, 0x40, 0x02, 0, 0}, "system_sleep"},
    {{2, 0x40, 0x04, 0, 0}, "system_wake_up"},
}};

// The consumer usage is p1 + 256 x p2.
inline constexpr std::array<KeyTableRow, 18> ConsumerTable = {{
    {{0, 0x30, 0x83, 0x01, 0}, "media_text"},
    {{1, 0x30, 0xCD, 0x00, 0}, "media_play"},
    {{2, 0x30, 0xB7, 0x00, 0}, "media_stop"},
    {{3, 0x30, 0xB6, 0x00, 0}, "media_prev"},
    {{4, 0x30, 0xB5, 0x00, 0}, "media_next"},
    {{5, 0x30, 0xEA, 0x00, 0}, "media_vol_sub"},
    {{6, 0x30, 0xE9, 0x00, 0}, "media_vol_add"},
    {{7, 0x30, 0xE2, 0x00, 0}, "media_mute"},
    {{8, 0x30, 0x23, 0x02, 0}, "web_text"},
    {{9, 0x30, 0x27, 0x02, 0}, "web_refresh"},
    {{10, 0x30, 0x26, 0x02, 0}, "wed_stop"},
    {{11, 0x30, 0x24, 0x02, 0}, "wed_back"},
    {{12, 0x30, 0x25, 0x02, 0}, "wed_forward"},
    {{13, 0x30, 0x2A, 0x02, 0}, "wed_favorite"},
    {{14, 0x30, 0x21, 0x02, 0}, "web_search"},
    {{15, 0x30, 0x94, 0x01, 0}, "media_mypc"},
    {{16, 0x30, 0x92, 0x01, 0}, "media_calc"},
    {{17, 0x30, 0x8A, 0x01, 0}, "media_mail"},
}};

// Left Ctrl with O, N, Z, S, C, X, V, F, A, minus, equals. The item texts
// of "keyset_combokey_combo" come from the layout; the function text of
// these actions is that of the keyboard key.
inline constexpr std::array<KeyAction, 11> ShortcutTable = {{
    {0, 0x20, 0x01, 0x12, 0},
    {1, 0x20, 0x01, 0x11, 0},
    {2, 0x20, 0x01, 0x1D, 0},
    {3, 0x20, 0x01, 0x16, 0},
    {4, 0x20, 0x01, 0x06, 0},
    {5, 0x20, 0x01, 0x1B, 0},
    {6, 0x20, 0x01, 0x19, 0},
    {7, 0x20, 0x01, 0x09, 0},
    {8, 0x20, 0x01, 0x04, 0},
    {9, 0x20, 0x01, 0x2D, 0},
    {10, 0x20, 0x01, 0x2E, 0},
}};

inline constexpr std::array<KeyTableRow, 9> EditShortcutTable = {{
    {{0x21, 0x22, 0, 0, 0}, "custem_cut"},
    {{0x22, 0x22, 0, 1, 0}, "custem_copy"},
    {{0x23, 0x22, 0, 2, 0}, "custem_paste"},
    {{0x24, 0x22, 0, 3, 0}, "custem_undo"},
    {{0x25, 0x22, 0, 4, 0}, "custem_select_all"},
    {{0x26, 0x22, 0, 5, 0}, "custem_find"},
    {{0x27, 0x22, 0, 6, 0}, "custem_new"},
    {{0x28, 0x22, 0, 7, 0}, "custem_save"},
    {{0x29, 0x22, 0, 8, 0}, "custem_open"},
}};

// Names of the types the panel has no editor for (and a few others).
inline constexpr std::array<KeyTableRow, 15> SpecialActionTable = {{
    {{0, 0x10, 0x01, 0, 0}, "mouse_key_left"},
    {{1, 0x10, 0x02, 0, 0}, "mouse_key_middle"},
    {{2, 0x10, 0x04, 0, 0}, "mouse_key_right"},
    {{3, 0x10, 0x10, 0, 0}, "mouse_key_forward"},
    {{4, 0x10, 0x08, 0, 0}, "mouse_key_back"},
    {{5, 0x14, 0x50, 0x02, 0}, "mouse_key_fire_key"},
    {{6, 0x20, 0, 0, 0}, "mouse_key_shortcut_key"},
    {{7, 0x20, 0x80, 0, 0}, "win_key_text"},
    {{8, 0xA0, 0x02, 0, 0}, "mouse_key_smart_key"},
    {{9, 0xA0, 0x00, 0, 0}, "close_text"},
    {{10, 0x13, 0x03, 0, 0}, "mouse_key_DPI_loop"},
    {{11, 0x13, 0x01, 0, 0}, "mouse_key_DPI_add"},
    {{12, 0x13, 0x02, 0, 0}, "mouse_key_DPI_sub"},
    {{13, 0x16, 0, 0, 0}, "mouse_key_DPI_shift"},
    {{14, 0x23, 0, 0, 0}, "show_window"},
}};

inline constexpr std::array<std::string_view, 4> GunPresetNames = {"gun_1_txt", "gun_2_txt", "gun_3_txt",
                                                                   "gun_4_txt"};
inline constexpr std::string_view kHorizontalScrollLeftName = "mouse_key_left_Swing";
inline constexpr std::string_view kHorizontalScrollRightName = "mouse_key_right_Swing";
inline constexpr std::string_view kVerticalScrollUpName = "mouse_key_up_Swing";
inline constexpr std::string_view kVerticalScrollDownName = "mouse_key_down_Swing";
inline constexpr std::string_view kRapidFireName = "mouse_key_fire_key";
inline constexpr std::string_view kCloseTextName = "close_text";
inline constexpr std::string_view kKeySetName = "Key_Set";
// Shown, untranslated, for a type nothing else names.
inline constexpr std::string_view kUnknownFunctionText = "\u5173\u95ed";

// Every key the keyboard category and the keyboard page name. Rows 0-113
// are keyboard keys whose key id is the Windows virtual-key code.
inline constexpr std::size_t kKeyTableModifierRows = 8;
inline constexpr std::size_t kKeyTableKeyboardRows = 114;
inline constexpr std::array<KeyTableRow, 142> KeyTable = {{
    {{0x00A2, 0x20, 0x01, 0x00, 0}, "keyboard_key_LCtrl"},                // 0
    {{0x00A0, 0x20, 0x02, 0x00, 0}, "keyboard_key_LShift"},               // 1
    {{0x00A4, 0x20, 0x04, 0x00, 0}, "keyboard_key_LAlt"},                 // 2
    {{0x005B, 0x20, 0x08, 0x00, 0}, "keyboard_key_LWin"},                 // 3
    {{0x00A3, 0x20, 0x10, 0x00, 0}, "keyboard_key_RCtrl"},                // 4
    {{0x00A1, 0x20, 0x20, 0x00, 0}, "keyboard_key_RShift"},               // 5
    {{0x00A5, 0x20, 0x40, 0x00, 0}, "keyboard_key_RAlt"},                 // 6
    {{0x005C, 0x20, 0x80, 0x00, 0}, "keyboard_key_RWin"},                 // 7
    {{0x0041, 0x20, 0x00, 0x04, 0}, "keyboard_key_A"},                    // 8
    {{0x0042, 0x20, 0x00, 0x05, 0}, "keyboard_key_B"},                    // 9
    {{0x0043, 0x20, 0x00, 0x06, 0}, "keyboard_key_C"},                    // 10
    {{0x0044, 0x20, 0x00, 0x07, 0}, "keyboard_key_D"},                    // 11
    {{0x0045, 0x20, 0x00, 0x08, 0}, "keyboard_key_E"},                    // 12
    {{0x0046, 0x20, 0x00, 0x09, 0}, "keyboard_key_F"},                    // 13
    {{0x0047, 0x20, 0x00, 0x0A, 0}, "keyboard_key_G"},                    // 14
    {{0x0048, 0x20, 0x00, 0x0B, 0}, "keyboard_key_H"},                    // 15
    {{0x0049, 0x20, 0x00, 0x0C, 0}, "keyboard_key_I"},                    // 16
    {{0x004A, 0x20, 0x00, 0x0D, 0}, "keyboard_key_J"},                    // 17
    {{0x004B, 0x20, 0x00, 0x0E, 0}, "keyboard_key_K"},                    // 18
    {{0x004C, 0x20, 0x00, 0x0F, 0}, "keyboard_key_L"},                    // 19
    {{0x004D, 0x20, 0x00, 0x10, 0}, "keyboard_key_M"},                    // 20
    {{0x004E, 0x20, 0x00, 0x11, 0}, "keyboard_key_N"},                    // 21
    {{0x004F, 0x20, 0x00, 0x12, 0}, "keyboard_key_O"},                    // 22
    {{0x0050, 0x20, 0x00, 0x13, 0}, "keyboard_key_P"},                    // 23
    {{0x0051, 0x20, 0x00, 0x14, 0}, "keyboard_key_Q"},                    // 24
    {{0x0052, 0x20, 0x00, 0x15, 0}, "keyboard_key_R"},                    // 25
    {{0x0053, 0x20, 0x00, 0x16, 0}, "keyboard_key_S"},                    // 26
    {{0x0054, 0x20, 0x00, 0x17, 0}, "keyboard_key_T"},                    // 27
    {{0x0055, 0x20, 0x00, 0x18, 0}, "keyboard_key_U"},                    // 28
    {{0x0056, 0x20, 0x00, 0x19, 0}, "keyboard_key_V"},                    // 29
    {{0x0057, 0x20, 0x00, 0x1A, 0}, "keyboard_key_W"},                    // 30
    {{0x0058, 0x20, 0x00, 0x1B, 0}, "keyboard_key_X"},                    // 31
    {{0x0059, 0x20, 0x00, 0x1C, 0}, "keyboard_key_Y"},                    // 32
    {{0x005A, 0x20, 0x00, 0x1D, 0}, "keyboard_key_Z"},                    // 33
    {{0x0031, 0x20, 0x00, 0x1E, 0}, "keyboard_key_1"},                    // 34
    {{0x0032, 0x20, 0x00, 0x1F, 0}, "keyboard_key_2"},                    // 35
    {{0x0033, 0x20, 0x00, 0x20, 0}, "keyboard_key_3"},                    // 36
    {{0x0034, 0x20, 0x00, 0x21, 0}, "keyboard_key_4"},                    // 37
    {{0x0035, 0x20, 0x00, 0x22, 0}, "keyboard_key_5"},                    // 38
    {{0x0036, 0x20, 0x00, 0x23, 0}, "keyboard_key_6"},                    // 39
    {{0x0037, 0x20, 0x00, 0x24, 0}, "keyboard_key_7"},                    // 40
    {{0x0038, 0x20, 0x00, 0x25, 0}, "keyboard_key_8"},                    // 41
    {{0x0039, 0x20, 0x00, 0x26, 0}, "keyboard_key_9"},                    // 42
    {{0x0030, 0x20, 0x00, 0x27, 0}, "keyboard_key_0"},                    // 43
    {{0x000D, 0x20, 0x00, 0x28, 0}, "keyboard_key_Enter"},                // 44
    {{0x001B, 0x20, 0x00, 0x29, 0}, "keyboard_key_Esc"},                  // 45
    {{0x0008, 0x20, 0x00, 0x2A, 0}, "keyboard_key_BackSpace"},            // 46
    {{0x0009, 0x20, 0x00, 0x2B, 0}, "keyboard_key_Tab"},                  // 47
    {{0x0020, 0x20, 0x00, 0x2C, 0}, "keyboard_key_Space"},                // 48
    {{0x00BD, 0x20, 0x00, 0x2D, 0}, "keyboard_key_-"},                    // 49
    {{0x00BB, 0x20, 0x00, 0x2E, 0}, "keyboard_key_="},                    // 50
    {{0x00DB, 0x20, 0x00, 0x2F, 0}, "keyboard_key_["},                    // 51
    {{0x00DD, 0x20, 0x00, 0x30, 0}, "keyboard_key_]"},                    // 52
    {{0x00DC, 0x20, 0x00, 0x31, 0}, "keyboard_key_xiegang"},              // 53
    {{0x00BA, 0x20, 0x00, 0x33, 0}, "keyboard_key_;"},                    // 54
    {{0x00DE, 0x20, 0x00, 0x34, 0}, "keyboard_key_'"},                    // 55
    {{0x00C0, 0x20, 0x00, 0x35, 0}, "keyboard_key_`"},                    // 56
    {{0x00BC, 0x20, 0x00, 0x36, 0}, "keyboard_key_<"},                    // 57
    {{0x00BE, 0x20, 0x00, 0x37, 0}, "keyboard_key_."},                    // 58
    {{0x00BF, 0x20, 0x00, 0x38, 0}, "keyboard_key_/"},                    // 59
    {{0x0014, 0x20, 0x00, 0x39, 0}, "keyboard_key_Caplk"},                // 60
    {{0x0070, 0x20, 0x00, 0x3A, 0}, "keyboard_key_F1"},                   // 61
    {{0x0071, 0x20, 0x00, 0x3B, 0}, "keyboard_key_F2"},                   // 62
    {{0x0072, 0x20, 0x00, 0x3C, 0}, "keyboard_key_F3"},                   // 63
    {{0x0073, 0x20, 0x00, 0x3D, 0}, "keyboard_key_F4"},                   // 64
    {{0x0074, 0x20, 0x00, 0x3E, 0}, "keyboard_key_F5"},                   // 65
    {{0x0075, 0x20, 0x00, 0x3F, 0}, "keyboard_key_F6"},                   // 66
    {{0x0076, 0x20, 0x00, 0x40, 0}, "keyboard_key_F7"},                   // 67
    {{0x0077, 0x20, 0x00, 0x41, 0}, "keyboard_key_F8"},                   // 68
    {{0x0078, 0x20, 0x00, 0x42, 0}, "keyboard_key_F9"},                   // 69
    {{0x0079, 0x20, 0x00, 0x43, 0}, "keyboard_key_F10"},                  // 70
    {{0x007A, 0x20, 0x00, 0x44, 0}, "keyboard_key_F11"},                  // 71
    {{0x007B, 0x20, 0x00, 0x45, 0}, "keyboard_key_F12"},                  // 72
    {{0x002C, 0x20, 0x00, 0x46, 0}, "keyboard_key_Print Scr"},            // 73
    {{0x0091, 0x20, 0x00, 0x47, 0}, "keyboard_key_Scroll Lock"},          // 74
    {{0x0013, 0x20, 0x00, 0x48, 0}, "keyboard_key_Pause"},                // 75
    {{0x002D, 0x20, 0x00, 0x49, 0}, "keyboard_key_Insert"},               // 76
    {{0x0024, 0x20, 0x00, 0x4A, 0}, "keyboard_key_Home"},                 // 77
    {{0x0021, 0x20, 0x00, 0x4B, 0}, "keyboard_key_Page Up"},              // 78
    {{0x002E, 0x20, 0x00, 0x4C, 0}, "keyboard_key_Delete"},               // 79
    {{0x0023, 0x20, 0x00, 0x4D, 0}, "keyboard_key_End"},                  // 80
    {{0x0022, 0x20, 0x00, 0x4E, 0}, "keyboard_key_Page Down"},            // 81
    {{0x0027, 0x20, 0x00, 0x4F, 0}, "keyboard_key_Right"},                // 82
    {{0x0025, 0x20, 0x00, 0x50, 0}, "keyboard_key_Left"},                 // 83
    {{0x0028, 0x20, 0x00, 0x51, 0}, "keyboard_key_Down"},                 // 84
    {{0x0026, 0x20, 0x00, 0x52, 0}, "keyboard_key_Up"},                   // 85
    {{0x0090, 0x20, 0x00, 0x53, 0}, "keyboard_key_Num Lock"},             // 86
    {{0x006F, 0x20, 0x00, 0x54, 0}, "keyboard_key_Num /"},                // 87
    {{0x006A, 0x20, 0x00, 0x55, 0}, "keyboard_key_Num *"},                // 88
    {{0x006D, 0x20, 0x00, 0x56, 0}, "keyboard_key_Num -"},                // 89
    {{0x006B, 0x20, 0x00, 0x57, 0}, "keyboard_key_Num +"},                // 90
    {{0x0101, 0x20, 0x00, 0x58, 0}, "keyboard_key_Num Enter"},            // 91
    {{0x0061, 0x20, 0x00, 0x59, 0}, "keyboard_key_Num 1"},                // 92
    {{0x0062, 0x20, 0x00, 0x5A, 0}, "keyboard_key_Num 2"},                // 93
    {{0x0063, 0x20, 0x00, 0x5B, 0}, "keyboard_key_Num 3"},                // 94
    {{0x0064, 0x20, 0x00, 0x5C, 0}, "keyboard_key_Num 4"},                // 95
    {{0x0065, 0x20, 0x00, 0x5D, 0}, "keyboard_key_Num 5"},                // 96
    {{0x0066, 0x20, 0x00, 0x5E, 0}, "keyboard_key_Num 6"},                // 97
    {{0x0067, 0x20, 0x00, 0x5F, 0}, "keyboard_key_Num 7"},                // 98
    {{0x0068, 0x20, 0x00, 0x60, 0}, "keyboard_key_Num 8"},                // 99
    {{0x0069, 0x20, 0x00, 0x61, 0}, "keyboard_key_Num 9"},                // 100
    {{0x0060, 0x20, 0x00, 0x62, 0}, "keyboard_key_Num 0"},                // 101
    {{0x006E, 0x20, 0x00, 0x63, 0}, "keyboard_key_Decimal"},              // 102
    {{0x005D, 0x20, 0x00, 0x65, 0}, "keyboard_key_App"},                  // 103
    {{0x00E2, 0x20, 0x00, 0x64, 0}, "keyboard_key_K45"},                  // 104
    {{0x00C1, 0x20, 0x00, 0x87, 0}, "keyboard_key_K56"},                  // 105
    {{0x00FF, 0x20, 0x00, 0x89, 0}, "keyboard_key_K14"},                  // 106
    {{0x00C2, 0x20, 0x00, 0x85, 0}, "keyboard_key_K107"},                 // 107
    {{0x00EB, 0x20, 0x00, 0x8B, 0}, "keyboard_key_K131"},                 // 108
    {{0x00FF, 0x20, 0x00, 0x8A, 0}, "keyboard_key_K132"},                 // 109
    {{0x00FF, 0x20, 0x00, 0x88, 0}, "keyboard_key_K133"},                 // 110
    {{0x00E9, 0x20, 0x00, 0x91, 0}, "keyboard_key_K150"},                 // 111
    {{0x00FF, 0x20, 0x00, 0x90, 0}, "keyboard_key_K151"},                 // 112
    {{0x00BF, 0x20, 0x00, 0x32, 0}, "keyboard_key_K42"},                  // 113
    {{0x00B7, 0x30, 0x92, 0x01, 0}, "keyboard_key_Launch App2"},          // 114
    {{0x00AC, 0x30, 0x23, 0x02, 0}, "keyboard_key_Browaer Home"},         // 115
    {{0x00B3, 0x30, 0xCD, 0x00, 0}, "keyboard_key_Media Play Pause"},     // 116
    {{0x00AA, 0x30, 0x21, 0x02, 0}, "keyboard_key_Browser Search"},       // 117
    {{0x00B4, 0x30, 0x8A, 0x01, 0}, "keyboard_key_Launch Mail"},          // 118
    {{0x00AF, 0x30, 0xE9, 0x00, 0}, "keyboard_key_Volume Up"},            // 119
    {{0x00AD, 0x30, 0xE2, 0x00, 0}, "keyboard_key_Volume Mute"},          // 120
    {{0x00B2, 0x30, 0xB7, 0x00, 0}, "keyboard_key_Media Stop"},           // 121
    {{0x00AE, 0x30, 0xEA, 0x00, 0}, "keyboard_key_Volume Down"},          // 122
    {{0x00AB, 0x30, 0x2A, 0x02, 0}, "keyboard_key_Browser Favorites"},    // 123
    {{0x00A7, 0x30, 0x25, 0x02, 0}, "keyboard_key_Browser ForWard"},      // 124
    {{0x00A6, 0x30, 0x24, 0x02, 0}, "keyboard_key_Browser Back"},         // 125
    {{0x00B1, 0x30, 0xB6, 0x00, 0}, "keyboard_key_Media Prev Track"},     // 126
    {{0x00B0, 0x30, 0xB5, 0x00, 0}, "keyboard_key_Media Next Track"},     // 127
    {{0x00B6, 0x30, 0x94, 0x01, 0}, "keyboard_key_Computer"},             // 128
    {{0x00A8, 0x30, 0x27, 0x02, 0}, "keyboard_key_Browser Refresh"},      // 129
    {{0x00A9, 0x30, 0x26, 0x02, 0}, "wed_stop"},                          // 130
    {{0x00B5, 0x30, 0x83, 0x01, 0}, "keyboard_key_Launch Media Select"},  // 131
    {{0x0103, 0x40, 0x01, 0x00, 0}, "keyboard_key_Power"},                // 132
    {{0x0104, 0x40, 0x02, 0x00, 0}, "keyboard_key_Sleep"},                // 133
    {{0x0105, 0x40, 0x04, 0x00, 0}, "keyboard_key_Wakeup"},               // 134
    {{0x0000, 0xD0, 0xA2, 0x01, 0}, "keyboard_key_M1"},                   // 135
    {{0x0000, 0xD0, 0xA2, 0x02, 0}, "keyboard_key_M2"},                   // 136
    {{0x0000, 0xD0, 0xA2, 0x03, 0}, "keyboard_key_M3"},                   // 137
    {{0x0000, 0xD0, 0xA2, 0x04, 0}, "keyboard_key_M4"},                   // 138
    {{0x0000, 0xD0, 0xA2, 0x05, 0}, "keyboard_key_M5"},                   // 139
    {{0x0000, 0xA0, 0x01, 0x00, 0}, "keyboard_key_FN"},                   // 140
    {{0x0000, 0xA0, 0x1B, 0x00, 0}, "keyboard_key_GM"},                   // 141
}};

// One row per KeyTable row 0-112, same order; K42 (row 113) has no scan code.
inline constexpr std::array<ScanCodeRow, 113> ScanCodeTable = {{
    {0x00A2, 0x1D, 0},  // 0 LCtrl
    {0x00A0, 0x2A, 0},  // 1 LShift
    {0x00A4, 0x38, 0},  // 2 LAlt
    {0x005B, 0x5B, 1},  // 3 LWin
    {0x00A3, 0x1D, 1},  // 4 RCtrl
    {0x00A1, 0x36, 1},  // 5 RShift
    {0x00A5, 0x38, 1},  // 6 RAlt
    {0x005C, 0x5C, 1},  // 7 RWin
    {0x0041, 0x1E, 0},  // 8 A
    {0x0042, 0x30, 0},  // 9 B
    {0x0043, 0x2E, 0},  // 10 C
    {0x0044, 0x20, 0},  // 11 D
    {0x0045, 0x12, 0},  // 12 E
    {0x0046, 0x21, 0},  // 13 F
    {0x0047, 0x22, 0},  // 14 G
    {0x0048, 0x23, 0},  // 15 H
    {0x0049, 0x17, 0},  // 16 I
    {0x004A, 0x24, 0},  // 17 J
    {0x004B, 0x25, 0},  // 18 K
    {0x004C, 0x26, 0},  // 19 L
    {0x004D, 0x32, 0},  // 20 M
    {0x004E, 0x31, 0},  // 21 N
    {0x004F, 0x18, 0},  // 22 O
    {0x0050, 0x19, 0},  // 23 P
    {0x0051, 0x10, 0},  // 24 Q
    {0x0052, 0x13, 0},  // 25 R
    {0x0053, 0x1F, 0},  // 26 S
    {0x0054, 0x14, 0},  // 27 T
    {0x0055, 0x16, 0},  // 28 U
    {0x0056, 0x2F, 0},  // 29 V
    {0x0057, 0x11, 0},  // 30 W
    {0x0058, 0x2D, 0},  // 31 X
    {0x0059, 0x15, 0},  // 32 Y
    {0x005A, 0x2C, 0},  // 33 Z
    {0x0031, 0x02, 0},  // 34 1
    {0x0032, 0x03, 0},  // 35 2
    {0x0033, 0x04, 0},  // 36 3
    {0x0034, 0x05, 0},  // 37 4
    {0x0035, 0x06, 0},  // 38 5
    {0x0036, 0x07, 0},  // 39 6
    {0x0037, 0x08, 0},  // 40 7
    {0x0038, 0x09, 0},  // 41 8
    {0x0039, 0x0A, 0},  // 42 9
    {0x0030, 0x0B, 0},  // 43 0
    {0x000D, 0x1C, 0},  // 44 Enter
    {0x001B, 0x01, 0},  // 45 Esc
    {0x0008, 0x0E, 0},  // 46 BackSpace
    {0x0009, 0x0F, 0},  // 47 Tab
    {0x0020, 0x39, 0},  // 48 Space
    {0x00BD, 0x0C, 0},  // 49 -
    {0x00BB, 0x0D, 0},  // 50 =
    {0x00DB, 0x1A, 0},  // 51 [
    {0x00DD, 0x1B, 0},  // 52 ]
    {0x00DC, 0x2B, 0},  // 53 xiegang
    {0x00BA, 0x27, 0},  // 54 ;
    {0x00DE, 0x28, 0},  // 55 '
    {0x00C0, 0x29, 0},  // 56 `
    {0x00BC, 0x33, 0},  // 57 <
    {0x00BE, 0x34, 0},  // 58 .
    {0x00BF, 0x35, 0},  // 59 /
    {0x0014, 0x3A, 0},  // 60 Caplk
    {0x0070, 0x3B, 0},  // 61 F1
    {0x0071, 0x3C, 0},  // 62 F2
    {0x0072, 0x3D, 0},  // 63 F3
    {0x0073, 0x3E, 0},  // 64 F4
    {0x0074, 0x3F, 0},  // 65 F5
    {0x0075, 0x40, 0},  // 66 F6
    {0x0076, 0x41, 0},  // 67 F7
    {0x0077, 0x42, 0},  // 68 F8
    {0x0078, 0x43, 0},  // 69 F9
    {0x0079, 0x44, 0},  // 70 F10
    {0x007A, 0x57, 0},  // 71 F11
    {0x007B, 0x58, 0},  // 72 F12
    {0x002C, 0x37, 1},  // 73 Print Scr
    {0x0091, 0x46, 0},  // 74 Scroll Lock
    {0x0013, 0x45, 0},  // 75 Pause
    {0x002D, 0x52, 1},  // 76 Insert
    {0x0024, 0x47, 1},  // 77 Home
    {0x0021, 0x49, 1},  // 78 Page Up
    {0x002E, 0x53, 1},  // 79 Delete
    {0x0023, 0x4F, 1},  // 80 End
    {0x0022, 0x51, 1},  // 81 Page Down
    {0x0027, 0x4D, 1},  // 82 Right
    {0x0025, 0x4B, 1},  // 83 Left
    {0x0028, 0x50, 1},  // 84 Down
    {0x0026, 0x48, 1},  // 85 Up
    {0x0090, 0x45, 1},  // 86 Num Lock
    {0x006F, 0x35, 1},  // 87 Num /
    {0x006A, 0x37, 0},  // 88 Num *
    {0x006D, 0x4A, 0},  // 89 Num -
    {0x006B, 0x4E, 0},  // 90 Num +
    {0x0101, 0x1C, 1},  // 91 Num Enter
    {0x0061, 0x4F, 0},  // 92 Num 1
    {0x0062, 0x50, 0},  // 93 Num 2
    {0x0063, 0x51, 0},  // 94 Num 3
    {0x0064, 0x4B, 0},  // 95 Num 4
    {0x0065, 0x4C, 0},  // 96 Num 5
    {0x0066, 0x4D, 0},  // 97 Num 6
    {0x0067, 0x47, 0},  // 98 Num 7
    {0x0068, 0x48, 0},  // 99 Num 8
    {0x0069, 0x49, 0},  // 100 Num 9
    {0x0060, 0x52, 0},  // 101 Num 0
    {0x006E, 0x53, 0},  // 102 Decimal
    {0x005D, 0x5D, 1},  // 103 App
    {0x00E2, 0x56, 0},  // 104 K45
    {0x00C1, 0x73, 0},  // 105 K56
    {0x00FF, 0x7D, 0},  // 106 K14
    {0x00C2, 0x7E, 0},  // 107 K107
    {0x00EB, 0x7B, 0},  // 108 K131
    {0x00FF, 0x79, 0},  // 109 K132
    {0x00FF, 0x70, 0},  // 110 K133
    {0x00E9, 0x71, 0},  // 111 K150
    {0x00FF, 0x72, 0},  // 112 K151
}};

// The mouse keys: names and the functions they carry from the factory.
inline constexpr std::array<std::string_view, 10> MouseKeyNames = {
    "mouse_key_left",    "mouse_key_right",   "mouse_key_middle",   "mouse_key_forward", "mouse_key_back",
    "mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop", "keyboard_key_GM",   "mouse_key_M8_key",
};

// Index of the first row with the action's type, p1 and p2; -1 when none.
constexpr int FindRow(std::span<const KeyTableRow> rows, const KeyAction& action) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].action == action) return static_cast<int>(i);
  }
  return -1;
}

// Index of the first row with the action's p1 (type and p2 not compared).
constexpr int FindRowByP1(std::span<const KeyTableRow> rows, std::uint8_t p1) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].action.p1 == p1) return static_cast<int>(i);
  }
  return -1;
}

// The KeyTable keyboard key (type 0x20, no modifier) with this HID usage,
// searched from row `first`; -1 when none.
constexpr int FindKeyboardUsageRow(std::uint8_t usage, std::size_t first = 0) {
  for (std::size_t i = first; i < KeyTable.size(); ++i) {
    const KeyAction& a = KeyTable[i].action;
    if (a.type == key_type::kKeyboardKey && a.p1 == 0 && a.p2 == usage) return static_cast<int>(i);
  }
  return -1;
}

// The ScanCodeTable row of a key press; -1 when the key is not in it.
constexpr int FindScanCodeRow(std::uint32_t scanCode, bool extended) {
  for (std::size_t i = 0; i < ScanCodeTable.size(); ++i) {
    if (ScanCodeTable[i].scanCode == scanCode && (ScanCodeTable[i].extended != 0) == extended) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Modifier option ("key_ComBox_check_" n) of KeyTable modifier row r: 1 Ctrl,
// 2 Shift, 3 Alt, 4 Win for either hand.
constexpr int ModifierOptionOfRow(int row) { return ((row + 1) % 5) + ((row + 1) / 5); }

// Each scan code row names the KeyTable key of the same row.
static_assert([] {
  for (std::size_t i = 0; i < ScanCodeTable.size(); ++i) {
    if (ScanCodeTable[i].keyId != KeyTable[i].action.keyId) return false;
  }
  return true;
}());
static_assert(KeyTable[130].nameKey == "wed_stop" && KeyTable[141].action.p1 == 0x1B);

}  // namespace ostrel
