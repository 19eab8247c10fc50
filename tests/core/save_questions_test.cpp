#include "core/save_questions.h"

#include <gtest/gtest.h>

#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using settings::SaveMode;

TEST(SaveAs, TheFileAndHowItIsWritten) {
  // The name chosen, whether a file is there, the answer to the overwrite question (asked
  // only then), the file written (nullptr: none) and how.
  const std::tuple<const char*, bool, std::optional<Answer>, const char*, SaveMode> rows[] = {
      {"/s/Site A", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.txt", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.dat", false, std::nullopt, "/s/Site A.dat", SaveMode::Replace},
      {"/s/Site A", true, Answer::Yes, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A", true, Answer::No, "/s/Site A.txt", SaveMode::Append},
      {"/s/Site A", true, Answer::Cancel, nullptr, SaveMode::Replace},
  };
  for (const auto& [chosen, there, answer, path, mode] : rows) {
    test::ScriptedPrompts prompts;
    if (answer) prompts.answers.push_back(*answer);
    std::string asked;
    const auto exists = [&asked, there = there](const std::string& file) {
      asked = file;
      return there;
    };
    const auto target = settings::saveAsTarget(chosen, exists, prompts);
    const std::string row = std::string(chosen) + (there ? ", there" : "");
    EXPECT_EQ(asked, path ? path : "/s/Site A.txt") << row;
    EXPECT_EQ(prompts.texts(), answer ? std::vector<std::string>{"Do you want to overwrite the existing file? "}
                                      : std::vector<std::string>{})
        << row;
    EXPECT_EQ(target ? std::make_pair(target->path, target->mode) : std::make_pair(std::string(), SaveMode::Replace),
              std::make_pair(std::string(path ? path : ""), mode))
        << row;
  }
}

}  // namespace
}  // namespace tarvek
