#pragma once
// Receivers in subscription order under a running key.

#include <cstddef>
#include <map>

#include "shell/ObserverImplBase.h"
#include "shell/ReceiverImplBase.h"

namespace ostrel {

template <typename ReturnT, typename ParamT>
class ObserverImpl : public ObserverImplBase<ReturnT, ParamT> {
 public:
  using Receiver = ReceiverImplBase<ReturnT, ParamT>;

  void Subscribe(Receiver* receiver) override {
    if (!receiver) return;
    receivers_[next_key_] = receiver;
    receiver->OnSubscribed(this);
    ++next_key_;
  }

  void Unsubscribe(Receiver* receiver) override {
    for (auto it = receivers_.begin(); it != receivers_.end(); ++it) {
      if (it->second == receiver) {
        receivers_.erase(it);
        return;
      }
    }
  }

  // A receiver may unsubscribe (or go away) while it is being told, so the
  // walk goes over a copy and skips those already gone.
  ReturnT Publish(ParamT param) override {
    const std::map<unsigned, Receiver*> copy = receivers_;
    for (const auto& [key, receiver] : copy)
      if (receivers_.count(key)) receiver->OnSkinChanged(param);
    return ReturnT();
  }

  ReturnT Query(ParamT param) override {
    const std::map<unsigned, Receiver*> copy = receivers_;
    for (const auto& [key, receiver] : copy)
      if (receivers_.count(key)) receiver->OnQuery(param, this);
    return ReturnT();
  }

  std::size_t Count() const { return receivers_.size(); }

 private:
  std::map<unsigned, Receiver*> receivers_;
  unsigned next_key_ = 0;
};

}  // namespace ostrel
