#include "core/connect_flow.h"

#include <gtest/gtest.h>

#include "core/link_operations.h"

namespace tarvek {
namespace {

TEST(ConnectFlow, TheScreenEachOutcomeLeadsTo) {
  const struct {
    ConnectOutcome outcome;
    NextScreen next;
  } reads[] = {
      {ConnectOutcome::PortNotOpened, NextScreen::CommPort},
      {ConnectOutcome::NotFound, NextScreen::NotFound},
      {ConnectOutcome::Finished, NextScreen::Main},
      {ConnectOutcome::NotResponding, NextScreen::Same},
  };
  for (const auto& [outcome, next] : reads) {
    EXPECT_EQ(afterConnect(outcome).next, next) << int(outcome);
    EXPECT_FALSE(afterConnect(outcome).sendOffered) << int(outcome);
  }
  const struct {
    ProbeOutcome outcome;
    NextScreen next;
    bool sendOffered;
  } probes[] = {
      {ProbeOutcome::PortNotOpened, NextScreen::CommPort, false},
      {ProbeOutcome::NotFound, NextScreen::NotFound, false},
      {ProbeOutcome::Online, NextScreen::Same, true},
      {ProbeOutcome::Failed, NextScreen::Same, false},
      {ProbeOutcome::NotResponding, NextScreen::Same, false},
  };
  for (const auto& [outcome, next, sendOffered] : probes) {
    EXPECT_EQ(afterConnect(outcome).next, next) << int(outcome);
    EXPECT_EQ(afterConnect(outcome).sendOffered, sendOffered) << int(outcome);
  }
}

}  // namespace
}  // namespace tarvek
