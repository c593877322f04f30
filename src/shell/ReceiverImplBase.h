#pragma once
// The receiver side of the skin-change conversation.

namespace ostrel {

template <typename ReturnT, typename ParamT>
class ObserverImplBase;

template <typename ReturnT, typename ParamT>
class ReceiverImplBase {
 public:
  virtual ~ReceiverImplBase() = default;
  // Returns how many observers the receiver now knows.
  virtual int OnSubscribed(ObserverImplBase<ReturnT, ParamT>* observer) = 0;
  virtual void UnsubscribeAll() = 0;
  virtual ReturnT OnSkinChanged(ParamT param) = 0;
  virtual ReturnT OnQuery(ParamT param, ObserverImplBase<ReturnT, ParamT>* observer) = 0;
};

}  // namespace ostrel
