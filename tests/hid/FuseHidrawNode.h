#pragma once
// A fake /dev/hidrawN served through FUSE: one file whose reads return one
// queued input report each (EAGAIN when none), whose poll says when one is
// waiting, and which fails like an unplugged hidraw node on request.
// Mounting needs /dev/fuse and the right to mount; Start() says whether it
// worked so tests can skip.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct fuse_session;
struct fuse_pollhandle;

namespace ostrel::test {

class FuseHidrawNode {
 public:
  FuseHidrawNode(std::filesystem::path mountPoint, std::string fileName);
  ~FuseHidrawNode();
  FuseHidrawNode(const FuseHidrawNode&) = delete;
  FuseHidrawNode& operator=(const FuseHidrawNode&) = delete;

  bool Start(std::string* why);
  void Stop();

  void PushInput(const std::vector<std::uint8_t>& report);
  // Every read and poll fails from now on, as after an unplug.
  void Unplug();
  std::vector<std::vector<std::uint8_t>> Written();

  // Called from the FUSE loop.
  struct Callbacks;

 private:
  void Notify();

  std::filesystem::path mountPoint_;
  std::string fileName_;
  fuse_session* session_ = nullptr;
  std::thread loop_;
  std::mutex mutex_;
  std::deque<std::vector<std::uint8_t>> input_;
  std::vector<std::vector<std::uint8_t>> written_;
  fuse_pollhandle* poll_ = nullptr;
  bool gone_ = false;
  bool mounted_ = false;
};

}  // namespace ostrel::test
