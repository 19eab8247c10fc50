#pragma once

#include <array>
#include <string_view>

namespace tarvek {

struct HelpTopic {
  std::string_view key;      // set by a screen's Instructions command
  std::string_view file;     // in the help folder
  std::string_view caption;  // of the help viewer
};

inline constexpr std::array<HelpTopic, 7> kHelpTopics{{
    {"CommPort", "helpcommport.txt", "Communications Port Help"},
    {"Global", "helpglobal.txt", "Global Settings Help"},
    {"InputSpecs", "helpinputspecs.txt", "Input Specs Help"},
    {"Main", "helpmain.txt", "Main Help"},
    {"NotFound", "helpnotfound.txt", "Comm Port Not Found Help"},
    {"Numbers", "helpnumbers.txt", "Phone Numbers Help"},
    {"Select", "helpselect.txt", "Programming Selection Help"},
}};

constexpr const HelpTopic* findHelpTopic(std::string_view key) {
  for (const auto& topic : kHelpTopics)
    if (topic.key == key) return &topic;
  return nullptr;
}

}  // namespace tarvek
