#include "devices/KeySaveToDevice.h"

namespace ostrel {

KeySaveOutcome KeySaveToDevice::Run(const Steps& steps) {
  KeySaveOutcome outcome;
  outcome.macroResult = steps.downloadMacros ? steps.downloadMacros() : 0;
  if (outcome.macroResult < 0) {
    // Only -1 is defined; any other failure is the same for the user.
    outcome.messageKey = kUnreachableMessage;
    return outcome;
  }
  if (outcome.macroResult > 0) {
    // The macros do not fit: the key that was being assigned goes back to
    // its default and nothing is written.
    outcome.messageKey = kTooLargeMessage;
    outcome.messageArgument = outcome.macroResult;
    if (steps.revertSelectedKey) {
      steps.revertSelectedKey();
      outcome.selectedKeyReverted = true;
    }
    return outcome;
  }
  if (steps.downloadKeys) {
    outcome.keyResult = steps.downloadKeys();
    outcome.keysWritten = true;
  }
  if (steps.saveProfile) outcome.profileSaved = steps.saveProfile();
  return outcome;
}

}  // namespace ostrel
