#pragma once
// Whole-file JSON access shared by every JSON file of the program (profiles,
// the profile list, macro and shooting files), and the identifiers that name
// profile and macro files.

#include <json/json.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrel {

class JsonFileUtil {
 public:
  // The whole file as bytes; empty when it cannot be opened or read
  // completely, or is larger than kMaxFileSize.
  static std::string readjsonFile(const std::string& path);

  // The parsed document (comments allowed and kept); null on any failure.
  static Json::Value ReadJson(const std::string& path);

  // The value in the styled layout, one extra line end, CR LF line ends.
  // The old file is replaced only once the new one is complete on disk.
  static bool WriteJson(const std::string& path, const Json::Value& value);

  // The bytes WriteJson puts on disk.
  static std::string RenderJson(const Json::Value& value);
  // Parses text the way ReadJson does; null on failure.
  static Json::Value ParseJson(std::string_view text);

  // The local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year ... millisecond).
  // Never the same id twice in one run (see ProfileIdGenerator).
  static std::string NewProfileId();

  // Whether `id` can name a file of the device folder: only the characters
  // NewProfileId produces (digits and '_'), at most kMaxIdLength of them.
  // Ids read from files ("profileUUID", "Guid") must pass before use.
  static bool IsValidId(std::string_view id);

  // The file name without folder and extension ("/a/P.json" -> "P").
  static std::string FileTitle(const std::string& path);

  static constexpr std::size_t kMaxFileSize = 32u << 20;
  static constexpr std::size_t kMaxIdLength = 64;
};

}  // namespace ostrel
