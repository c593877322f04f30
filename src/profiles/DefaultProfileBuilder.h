#pragma once
// Builds the default profile of each model, the template of every new
// profile and of "reset", installed as DefaultData/<model>.Json. The tool
// ostrel_make_default_data writes them; a test keeps the installed files
// equal to what this class builds.

#include <json/json.h>

#include <array>
#include <string>

#include "profiles/KeyAction.h"

namespace ostrel {

class DefaultProfileBuilder {
 public:
  // The device data folder names of the models (also the names of their
  // default profiles and their folders below the app-data folder).
  static constexpr const char* kKeyboardName = "keyboard";
  static constexpr const char* kMouseName = "mouse";
  static constexpr const char* kMousePadName = "MousePad";
  static constexpr const char* kHeadsetName = "HD";

  // LEDs of each model (the length of its "LightList").
  static constexpr int kKeyboardLedCount = 126;
  static constexpr int kMouseLedCount = 6;
  static constexpr int kMousePadLedCount = 15;
  static constexpr int kHeadsetLedCount = 13;

  static constexpr int kCustomColorGroups = 5;
  // Keyboard keys are numbered row by row, 21 positions to a row.
  static constexpr int kKeyboardColumns = 21;

  // The factory functions of the keys: "DefaultAssignment" of each key.
  static const std::array<KeyAction, 126> kKeyboardFactoryKeys;
  static const std::array<KeyAction, 10> kMouseFactoryKeys;

  // Band gains 1-10 of the fixed equaliser curves, EQ types 1-12.
  static constexpr int kEqPresets[12][10] = {
      {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},   {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
      {10, 4, 0, -3, -4, -3, -2, -1, 0, 0}, {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
      {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},  {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
      {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},  {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
      {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},  {2, 1, -2, -4, -8, 4, 12, 16, 18, 15},
  };

  static Json::Value Keyboard();
  static Json::Value Mouse();
  static Json::Value MousePad();
  static Json::Value Headset();
  // The document for a model name above; null for an unknown name.
  static Json::Value ForModel(const std::string& name);
};

}  // namespace ostrel
