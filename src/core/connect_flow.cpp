#include "core/connect_flow.h"

#include "core/link_operations.h"

namespace tarvek {

ConnectStep afterConnect(ConnectOutcome outcome) {
  switch (outcome) {
    case ConnectOutcome::PortNotOpened:
      return {NextScreen::CommPort, false};
    case ConnectOutcome::NotFound:
      return {NextScreen::NotFound, false};
    case ConnectOutcome::Finished:
      return {NextScreen::Main, false};
    case ConnectOutcome::NotResponding:
      break;
  }
  return {};
}

ConnectStep afterConnect(ProbeOutcome outcome) {
  switch (outcome) {
    case ProbeOutcome::PortNotOpened:
      return {NextScreen::CommPort, false};
    case ProbeOutcome::NotFound:
      return {NextScreen::NotFound, false};
    case ProbeOutcome::Online:
      return {NextScreen::Same, true};
    case ProbeOutcome::Failed:
    case ProbeOutcome::NotResponding:
      break;
  }
  return {};
}

}  // namespace tarvek
