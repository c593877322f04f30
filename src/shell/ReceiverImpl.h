#pragma once
// A receiver that remembers its observers, so that it can leave them all;
// it leaves them when it is destroyed, so no observer keeps a dangling
// receiver.

#include <map>

#include "shell/ObserverImplBase.h"
#include "shell/ReceiverImplBase.h"

namespace ostrel {

template <typename ReturnT, typename ParamT>
class ReceiverImpl : public ReceiverImplBase<ReturnT, ParamT> {
 public:
  using Observer = ObserverImplBase<ReturnT, ParamT>;

  ReceiverImpl() = default;
  ReceiverImpl(const ReceiverImpl&) = delete;
  ReceiverImpl& operator=(const ReceiverImpl&) = delete;
  ~ReceiverImpl() override { UnsubscribeAll(); }

  int OnSubscribed(Observer* observer) override {
    observers_[next_key_++] = observer;
    return static_cast<int>(observers_.size());
  }

  void UnsubscribeAll() override {
    std::map<unsigned, Observer*> observers;
    observers.swap(observers_);
    for (const auto& [key, observer] : observers) observer->Unsubscribe(this);
  }

  ReturnT OnSkinChanged(ParamT) override { return ReturnT(); }
  ReturnT OnQuery(ParamT, Observer*) override { return ReturnT(); }

 private:
  std::map<unsigned, Observer*> observers_;
  unsigned next_key_ = 0;
};

}  // namespace ostrel
