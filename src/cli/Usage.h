#pragma once
// The command line's own help: --help, one screen, and the topics of
// `veltrane-cli help TOPIC`, which hold the rest (the manual page is made of
// both).
#include <span>
#include <string>
#include <string_view>

namespace vt {

struct THelpTopic {
  std::string_view Name;     // as typed after "help"
  std::string_view Heading;  // its first line, and its section of the manual page
  std::string_view Summary;  // one line, in the list of topics
  std::string_view Text;
};

// The text of --help.
std::string_view UsageText();
// Every topic, in the order the manual gives them.
std::span<const THelpTopic> HelpTopics();
// Null for a name that is no topic.
const THelpTopic* FindHelpTopic(std::string_view name);
// What `veltrane-cli help TOPIC` prints: the heading, a blank line, the text.
std::string HelpTopicText(const THelpTopic& topic);
// What `veltrane-cli help` prints: the topics, one a line.
std::string HelpTopicList();

}  // namespace vt
