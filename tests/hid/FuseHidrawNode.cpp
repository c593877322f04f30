#define FUSE_USE_VERSION 35
#include "FuseHidrawNode.h"

#include <fuse_lowlevel.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace ostrel::test {

namespace {
constexpr fuse_ino_t kFileInode = 2;
}

struct FuseHidrawNode::Callbacks {
  static FuseHidrawNode& Self(fuse_req_t req) {
    return *static_cast<FuseHidrawNode*>(fuse_req_userdata(req));
  }

  static void Attributes(fuse_ino_t ino, struct stat& st) {
    std::memset(&st, 0, sizeof st);
    st.st_ino = ino;
    if (ino == FUSE_ROOT_ID) {
      st.st_mode = S_IFDIR | 0755;
      st.st_nlink = 2;
    } else {
      st.st_mode = S_IFREG | 0666;
      st.st_nlink = 1;
    }
  }
  static void Lookup(fuse_req_t req, fuse_ino_t parent, const char* name) {
    FuseHidrawNode& self = Self(req);
    if (parent != FUSE_ROOT_ID || self.fileName_ != name) {
      fuse_reply_err(req, ENOENT);
      return;
    }
    fuse_entry_param entry{};
    entry.ino = kFileInode;
    Attributes(kFileInode, entry.attr);
    fuse_reply_entry(req, &entry);
  }
  static void GetAttr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*) {
    struct stat st;
    Attributes(ino, st);
    fuse_reply_attr(req, &st, 0.0);
  }
  static void Open(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    if (ino != kFileInode) {
      fuse_reply_err(req, EISDIR);
      return;
    }
    // One report per read: no page cache, no read-ahead merging reports.
    fi->direct_io = 1;
    fi->nonseekable = 1;
    fuse_reply_open(req, fi);
  }
  static void Read(fuse_req_t req, fuse_ino_t, size_t size, off_t, fuse_file_info*) {
    FuseHidrawNode& self = Self(req);
    std::unique_lock<std::mutex> lock(self.mutex_);
    if (self.gone_) {
      lock.unlock();
      fuse_reply_err(req, ENODEV);
      return;
    }
    if (self.input_.empty()) {
      lock.unlock();
      fuse_reply_err(req, EAGAIN);
      return;
    }
    std::vector<std::uint8_t> report = std::move(self.input_.front());
    self.input_.pop_front();
    lock.unlock();
    fuse_reply_buf(req, reinterpret_cast<const char*>(report.data()), std::min(size, report.size()));
  }
  static void Write(fuse_req_t req, fuse_ino_t, const char* buf, size_t size, off_t, fuse_file_info*) {
    FuseHidrawNode& self = Self(req);
    {
      std::lock_guard<std::mutex> lock(self.mutex_);
      if (self.gone_) {
        fuse_reply_err(req, ENODEV);
        return;
      }
      self.written_.emplace_back(buf, buf + size);
    }
    fuse_reply_write(req, size);
  }
  static void Poll(fuse_req_t req, fuse_ino_t, fuse_file_info*, fuse_pollhandle* ph) {
    FuseHidrawNode& self = Self(req);
    unsigned events = POLLOUT;
    {
      std::lock_guard<std::mutex> lock(self.mutex_);
      if (ph) {
        if (self.poll_) fuse_pollhandle_destroy(self.poll_);
        self.poll_ = ph;
      }
      if (self.gone_)
        events = POLLERR | POLLHUP;
      else if (!self.input_.empty())
        events |= POLLIN;
    }
    fuse_reply_poll(req, events);
  }
  static void Release(fuse_req_t req, fuse_ino_t, fuse_file_info*) { fuse_reply_err(req, 0); }
};

FuseHidrawNode::FuseHidrawNode(std::filesystem::path mountPoint, std::string fileName)
    : mountPoint_(std::move(mountPoint)), fileName_(std::move(fileName)) {}

FuseHidrawNode::~FuseHidrawNode() { Stop(); }

bool FuseHidrawNode::Start(std::string* why) {
  if (access("/dev/fuse", R_OK | W_OK) != 0) {
    if (why) *why = "/dev/fuse is not usable";
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(mountPoint_, ec);
  static fuse_lowlevel_ops ops = [] {
    fuse_lowlevel_ops o{};
    o.lookup = Callbacks::Lookup;
    o.getattr = Callbacks::GetAttr;
    o.open = Callbacks::Open;
    o.read = Callbacks::Read;
    o.write = Callbacks::Write;
    o.poll = Callbacks::Poll;
    o.release = Callbacks::Release;
    return o;
  }();
  char program[] = "ostrel-hid-test";
  char* argv[] = {program, nullptr};
  fuse_args args = FUSE_ARGS_INIT(1, argv);
  session_ = fuse_session_new(&args, &ops, sizeof ops, this);
  fuse_opt_free_args(&args);
  if (!session_) {
    if (why) *why = "fuse_session_new failed";
    return false;
  }
  if (fuse_session_mount(session_, mountPoint_.c_str()) != 0) {
    fuse_session_destroy(session_);
    session_ = nullptr;
    if (why) *why = "mounting is not permitted here";
    return false;
  }
  mounted_ = true;
  loop_ = std::thread([this] { fuse_session_loop(session_); });
  return true;
}

void FuseHidrawNode::Stop() {
  if (!session_) return;
  fuse_session_exit(session_);
  // Detaching the mount ends the loop's pending read; only then is the
  // session's descriptor closed (closing it under the read would race).
  // Without the right to unmount directly, the session unmounts first.
  if (mounted_ && umount2(mountPoint_.c_str(), MNT_DETACH) != 0) {
    fuse_session_unmount(session_);
    mounted_ = false;
  }
  if (loop_.joinable()) loop_.join();
  if (mounted_) fuse_session_unmount(session_);
  mounted_ = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (poll_) fuse_pollhandle_destroy(poll_);
    poll_ = nullptr;
  }
  fuse_session_destroy(session_);
  session_ = nullptr;
}

void FuseHidrawNode::Notify() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (poll_) fuse_lowlevel_notify_poll(poll_);
}

void FuseHidrawNode::PushInput(const std::vector<std::uint8_t>& report) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    input_.push_back(report);
  }
  Notify();
}

void FuseHidrawNode::Unplug() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    gone_ = true;
  }
  Notify();
}

std::vector<std::vector<std::uint8_t>> FuseHidrawNode::Written() {
  std::lock_guard<std::mutex> lock(mutex_);
  return written_;
}

}  // namespace ostrel::test
