#include "core/save_questions.h"

#include <gtest/gtest.h>

#include "support/scripted_prompts.h"

namespace tarvek {
namespace {

using settings::SaveMode;

TEST(SaveAs, TheFileAndHowItIsWritten) {
  const struct {
    const char* chosen;
    bool exists;
    std::optional<Answer> answer;  // to the overwrite question, when it is asked
    std::optional<std::string> path;
    SaveMode mode;
  } cases[] = {
      {"/s/Site A", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.txt", false, std::nullopt, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A.dat", false, std::nullopt, "/s/Site A.dat", SaveMode::Replace},
      {"/s/Site A", true, Answer::Yes, "/s/Site A.txt", SaveMode::Replace},
      {"/s/Site A", true, Answer::No, "/s/Site A.txt", SaveMode::Append},
      {"/s/Site A", true, Answer::Cancel, std::nullopt, SaveMode::Replace},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    if (c.answer) prompts.answers.push_back(*c.answer);
    std::string asked;
    const auto exists = [&](const std::string& path) {
      asked = path;
      return c.exists;
    };
    const auto target = settings::saveAsTarget(c.chosen, exists, prompts);
    const std::string row = std::string(c.chosen) + (c.exists ? ", there" : "");
    EXPECT_EQ(asked, c.path.value_or("/s/Site A.txt")) << row;
    EXPECT_EQ(prompts.texts(), c.answer ? std::vector<std::string>{"Do you want to overwrite the existing file? "}
                                        : std::vector<std::string>{})
        << row;
    ASSERT_EQ(target.has_value(), c.path.has_value()) << row;
    if (!target) continue;
    EXPECT_EQ(target->path, *c.path) << row;
    EXPECT_EQ(target->mode, c.mode) << row;
  }
}

}  // namespace
}  // namespace tarvek
