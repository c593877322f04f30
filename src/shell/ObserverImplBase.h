#pragma once
// The observer side of the skin-change conversation.

namespace ostrel {

template <typename ReturnT, typename ParamT>
class ReceiverImplBase;

template <typename ReturnT, typename ParamT>
class ObserverImplBase {
 public:
  virtual ~ObserverImplBase() = default;
  virtual void Subscribe(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
  virtual void Unsubscribe(ReceiverImplBase<ReturnT, ParamT>* receiver) = 0;
  virtual ReturnT Publish(ParamT param) = 0;
  virtual ReturnT Query(ParamT param) = 0;
};

}  // namespace ostrel
