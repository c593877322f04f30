#pragma once
// The key tables the keyboard's own effects walk over. Key k is LED entry k
// of the keyboard page's colour list; kNoKey (126) in a table is no key,
// 255 in the extended grid and the show tables is none.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "profiles/KeyEntry.h"

namespace ostrel {

inline constexpr std::uint8_t kNoKey = 126;
inline constexpr std::uint8_t kNone255 = 255;
inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
inline constexpr int kExtendedGridRows = 7;
inline constexpr int kLogoLedCount = 15;
inline constexpr int kStLedCount = 6;

namespace keyboardtables_detail {
template <std::size_t N>
constexpr std::array<std::uint8_t, N> Row(std::initializer_list<int> keys, std::uint8_t fill) {
  std::array<std::uint8_t, N> row{};
  for (auto& k : row) k = fill;
  std::size_t i = 0;
  for (int k : keys) row[i++] = static_cast<std::uint8_t>(k);
  return row;
}
constexpr int X = kNoKey;
constexpr int Z = kNone255;
}  // namespace keyboardtables_detail

// Key grid by column, rows 0 (top) to 5.
inline constexpr std::array<std::array<std::uint8_t, kGridRows>, kGridColumns> kKeyGrid = [] {
  using keyboardtables_detail::X;
  return std::array<std::array<std::uint8_t, kGridRows>, kGridColumns>{{
      {X, 120, 121, 122, 84, 105}, {X, 21, 42, 63, 102, 106},  {0, 22, 43, 64, 85, 107},
      {1, 23, 44, 65, 86, X},      {2, 24, 45, 66, 87, X},     {3, 25, 46, 67, 88, X},
      {4, 26, 47, 68, 89, 108},    {X, 27, 48, 69, 90, X},     {5, 28, 49, 70, 91, X},
      {6, 29, 50, 71, 92, 109},    {7, 30, 51, 72, 93, 125},   {8, 31, 52, 73, 94, 111},
      {9, 32, 53, 74, X, 110},     {10, 33, 54, 62, X, X},     {11, 34, X, 75, 95, 112},
      {12, 34, X, X, 95, 112},     {13, 35, 56, X, X, 113},    {14, 36, 57, X, 96, 114},
      {15, 37, 58, X, X, 115},     {17, 38, 59, 76, 97, 116},  {18, 39, 60, 77, 98, 116},
      {19, 40, 61, 78, 99, 117},   {20, 41, X, 119, 118, 118},
  }};
}();

// Extended grid by column, rows 0-6.
inline constexpr std::array<std::array<std::uint8_t, kExtendedGridRows>, kGridColumns> kExtendedGrid = [] {
  using keyboardtables_detail::Z;
  return std::array<std::array<std::uint8_t, kExtendedGridRows>, kGridColumns>{{
      {Z, Z, Z, Z, Z, 84, 105},     {Z, Z, 21, 42, 63, 102, 106}, {Z, 0, 22, 43, 64, 85, 107},
      {Z, 1, 23, 44, 65, 86, Z},    {Z, 2, 24, 45, 66, 87, Z},    {Z, 3, 25, 46, 67, 88, Z},
      {Z, 4, 26, 47, 68, 89, 108},  {Z, Z, 27, 48, 69, 90, Z},    {Z, 5, 28, 49, 70, 91, Z},
      {Z, 6, 29, 50, 71, 92, 109},  {Z, 7, 30, 51, 72, 93, 109},  {Z, 8, 31, 52, 73, 94, 111},
      {Z, 9, 32, 53, 74, Z, 110},   {Z, 10, 33, 54, 75, Z, Z},    {Z, 11, 34, 55, Z, 95, 112},
      {Z, 12, 34, 55, Z, 95, 112},  {Z, 13, 35, 56, Z, Z, 113},   {Z, 14, 36, 57, Z, 96, 114},
      {Z, 15, 37, 58, Z, Z, 115},   {Z, 17, 38, 59, 76, 97, 116}, {125, 18, 39, 60, 77, 98, 116},
      {Z, 19, 40, 61, 78, 99, 117}, {Z, 20, 41, Z, 119, 118, Z},
  }};
}();

// 111 keys, then 15 entries of no key.
inline constexpr std::array<std::uint8_t, kKeyboardKeyCount> kKeyPath = keyboardtables_detail::Row<126>(
    {17,  18,  19, 20, 15, 14,  13,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,
     0,   21,  42, 63, 84, 105, 106, 107, 108, 109, 125, 111, 110, 112, 113, 114, 115, 116, 117,
     118, 119, 41, 40, 39, 38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,
     24,  23,  22, 43, 64, 102, 85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,  97,
     98,  99,  78, 61, 60, 59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,  46,
     45,  44,  65, 66, 67, 68,  69,  70,  71,  72,  73,  74,  62,  75,  76,  77},
    kNoKey);
inline constexpr std::array<std::uint8_t, kKeyboardKeyCount> kAlternateKeyPath = [] {
  auto path = kKeyPath;
  path[0] = 20;
  path[1] = 19;
  path[2] = 18;
  path[3] = 17;
  return path;
}();

// Key -> the key at its position of the alternate key path (keys 17 and 20,
// 18 and 19 exchanged); keys off the path, and index 126, give no key.
inline constexpr std::array<std::uint8_t, kKeyboardKeyCount + 1> kRemappedKey = [] {
  std::array<std::uint8_t, kKeyboardKeyCount + 1> remapped{};
  for (auto& k : remapped) k = kNoKey;
  for (std::size_t n = 0; n < kKeyPath.size(); ++n)
    if (kKeyPath[n] != kNoKey) remapped[kKeyPath[n]] = kAlternateKeyPath[n];
  return remapped;
}();

// Ring 0 is key 51; each further ring surrounds the previous one.
inline constexpr std::array<std::array<std::uint8_t, 12>, 12> kRingTable = [] {
  using keyboardtables_detail::Row;
  return std::array<std::array<std::uint8_t, 12>, 12>{{
      Row<12>({51}, kNoKey),
      Row<12>({30, 50, 71, 72, 52, 31}, kNoKey),
      Row<12>({8, 29, 49, 70, 91, 92, 93, 73, 53, 32}, kNoKey),
      Row<12>({7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 62}, kNoKey),
      Row<12>({6, 27, 47, 68, 89, 111, 95, 75, 55, 34, 10, 11}, kNoKey),
      Row<12>({5, 26, 46, 67, 88, 108, 110, 112, 56, 35, 12, 125}, kNoKey),
      Row<12>({4, 25, 45, 66, 87, 113, 96, 57, 36, 13}, kNoKey),
      Row<12>({3, 24, 44, 65, 86, 114, 115, 58, 37, 15, 14}, kNoKey),
      Row<12>({2, 23, 43, 64, 85, 107, 97, 76, 59, 38}, kNoKey),
      Row<12>({1, 22, 42, 63, 84, 106, 116, 98, 77, 60, 39, 102}, kNoKey),
      Row<12>({0, 21, 105, 117, 99, 78, 61, 40, 17, 18, 19, 20}, kNoKey),
      Row<12>({118, 119, 41}, kNoKey),
  }};
}();

inline constexpr std::array<std::array<std::uint8_t, 12>, 52> kSweepTable = [] {
  using keyboardtables_detail::Row;
  return std::array<std::array<std::uint8_t, 12>, 52>{{
      Row<12>({25, 26, 50, 51}, kNoKey),
      Row<12>({0, 26, 27, 50, 51}, kNoKey),
      Row<12>({111, 27, 28, 50, 51}, kNoKey),
      Row<12>({1, 27, 50, 51}, kNoKey),
      Row<12>({2, 27, 50, 51}, kNoKey),
      Row<12>({3, 28, 51}, kNoKey),
      Row<12>({4, 29, 51}, kNoKey),
      Row<12>({29, 51}, kNoKey),
      Row<12>({5, 29, 51}, kNoKey),
      Row<12>({6, 30, 51}, kNoKey),
      Row<12>({7, 30, 51}, kNoKey),
      Row<12>({8, 51}, kNoKey),
      Row<12>({31, 52}, kNoKey),
      Row<12>({9, 32, 52}, kNoKey),
      Row<12>({10, 32, 52}, kNoKey),
      Row<12>({11, 33, 52}, kNoKey),
      Row<12>({12, 34, 53, 52}, kNoKey),
      Row<12>({13, 34, 53, 52}, kNoKey),
      Row<12>({14, 34, 53, 52}, kNoKey),
      Row<12>({15, 35, 52}, kNoKey),
      Row<12>({17, 36, 52}, kNoKey),
      Row<12>({18, 37, 52}, kNoKey),
      Row<12>({19, 38, 52}, kNoKey),
      Row<12>({20, 39, 52}, kNoKey),
      Row<12>({41, 40, 38, 52, 54, 53, 55, 39}, kNoKey),
      Row<12>({119, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52}, kNoKey),
      Row<12>({52, 53, 76, 78, 77, 54, 55}, kNoKey),
      Row<12>({73, 74, 75, 97, 98, 99, 118}, kNoKey),
      Row<12>({73, 74, 96, 117, 116}, kNoKey),
      Row<12>({73, 95, 96, 75, 116, 117}, kNoKey),
      Row<12>({73, 74, 95, 115, 116}, kNoKey),
      Row<12>({73, 95, 115, 114}, kNoKey),
      Row<12>({73, 95, 114, 113}, kNoKey),
      Row<12>({73, 95, 113}, kNoKey),
      Row<12>({73, 95, 112}, kNoKey),
      Row<12>({73, 94, 110}, kNoKey),
      Row<12>({73, 94, 125, 111}, kNoKey),
      Row<12>({73, 93, 109}, kNoKey),
      Row<12>({72, 92, 108}, kNoKey),
      Row<12>({72, 92, 108}, kNoKey),
      Row<12>({108, 91, 72}, kNoKey),
      Row<12>({108, 90, 91, 72}, kNoKey),
      Row<12>({108, 90, 71, 72}, kNoKey),
      Row<12>({108, 89, 90, 71, 72}, kNoKey),
      Row<12>({107, 88, 89, 71, 72}, kNoKey),
      Row<12>({106, 107, 87, 88, 89, 70, 71, 72}, kNoKey),
      Row<12>({105, 106, 87, 88, 70, 72}, kNoKey),
      Row<12>({124, 105, 86, 87, 88, 70, 71, 72}, kNoKey),
      Row<12>({123, 84, 85, 69, 70, 71, 72, 86}, kNoKey),
      Row<12>({122, 63, 64, 65, 68, 66, 67, 50, 51}, kNoKey),
      Row<12>({121, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51}, kNoKey),
      Row<12>({51, 21, 22, 23, 24, 48, 49, 50, 120}, kNoKey),
  }};
}();

// Starting intensities of the flare effect, indexed 6 × column + row.
inline constexpr std::array<std::uint8_t, 139> kSeedTable = {
    72,  52,  32,  12,  182, 162, 72,  52,  32, 12,  182, 162, 120, 100, 80,  60,  40, 20, 92,  82,
    72,  62,  52,  42,  160, 140, 120, 100, 80, 60,  80,  70,  60,  50,  20,  10,  90, 30, 0,   160,
    130, 100, 50,  30,  10,  180, 160, 140, 32, 22,  12,  2,   182, 172, 120, 100, 80, 60, 40,  20,
    20,  5,   185, 170, 155, 140, 60,  35,  15, 180, 155, 130, 120, 110, 100, 90,  80, 70, 192, 162,
    132, 102, 72,  32,  80,  70,  60,  50,  20, 10,  100, 95,  90,  85,  80,  75,  90, 80, 70,  60,
    50,  40,  140, 110, 80,  50,  20,  180, 70, 55,  40,  25,  10,  190, 120, 100, 80, 60, 40,  20,
    92,  82,  72,  62,  52,  42,  60,  50,  40, 30,  20,  10,  192, 162, 132, 102, 72, 32, 0};

inline constexpr std::array<std::uint8_t, 192> kFlareCurve = keyboardtables_detail::Row<192>(
    {0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158, 166,
     175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182,
     176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,
     81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
     20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1},
    0);

inline constexpr std::array<std::array<std::uint8_t, 6>, 20> kShowRows = [] {
  using keyboardtables_detail::Row;
  return std::array<std::array<std::uint8_t, 6>, 20>{{
      Row<6>({0, 115, 17, 18, 19, 20}, kNone255),
      Row<6>({1, 114}, kNone255),
      Row<6>({2, 113}, kNone255),
      Row<6>({3, 112, 21, 96}, kNone255),
      Row<6>({4, 110, 22, 95}, kNone255),
      Row<6>({5, 111, 23}, kNone255),
      Row<6>({6, 109, 24, 94, 42}, kNone255),
      Row<6>({7, 108, 25, 93, 43}, kNone255),
      Row<6>({31, 90, 26, 92, 44}, kNone255),
      Row<6>({52, 69, 27, 91, 45}, kNone255),
      Row<6>({72, 48, 28, 90, 46}, kNone255),
      Row<6>({92, 28, 29, 69, 47, 75}, kNone255),
      Row<6>({91, 29, 50, 48, 48, 62}, kNone255),
      Row<6>({90, 30, 70, 28, 49, 74}, kNone255),
      Row<6>({69, 31, 69, 29, 50, 73}, kNone255),
      Row<6>({48, 52, 48, 50, 51, 72}, kNone255),
      Row<6>({28, 72, 28, 70, 71}, kNone255),
      Row<6>({29, 92, 29, 69}, kNone255),
      Row<6>({68}, kNone255),
      Row<6>({}, kNone255),
  }};
}();

inline constexpr std::array<std::array<std::uint8_t, 2>, 16> kShowPairs = {{{28, 92},
                                                                            {29, 91},
                                                                            {30, 90},
                                                                            {31, 69},
                                                                            {52, 48},
                                                                            {72, 28},
                                                                            {92, 29},
                                                                            {91, 30},
                                                                            {90, 31},
                                                                            {69, 52},
                                                                            {48, 92},
                                                                            {49, 71},
                                                                            {50, 70},
                                                                            {51, 49},
                                                                            {71, 50},
                                                                            {70, 51}}};

static_assert(kKeyPath[110] == 77 && kKeyPath[111] == kNoKey && kKeyPath[125] == kNoKey);
static_assert(kFlareCurve[87] == 1 && kFlareCurve[88] == 0);

}  // namespace ostrel
