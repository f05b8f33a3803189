#pragma once
// The program's table of texts, keyed by number.
#include <string_view>

namespace vt {

namespace Msg {
// No text of its own: the front ends word it from the position and the library's message.
inline constexpr int RegexDoesNotCompile = 61180;
inline constexpr int CloseDuringPass = 61185;
inline constexpr int SaveBeforeClearing = 61186;
inline constexpr int NotAResultFile = 61187;
inline constexpr int StoppedByUser = 61188;
inline constexpr int SpecifyDeleteCount = 61189;
inline constexpr int SpecifyDeleteText = 61190;
inline constexpr int SpecifyInsertText = 61191;
inline constexpr int RemoveExtension = 61192;
inline constexpr int IncorrectExtension = 61193;
inline constexpr int SameName = 61194;
inline constexpr int SameNameInfo = 61195;
inline constexpr int RemoveSeveralExtensions = 61197;
inline constexpr int ReplaceNotCoherent = 61198;
inline constexpr int SpecifyReplaceText = 61199;
inline constexpr int NothingToReplace = 61200;
inline constexpr int SpecifySearchText = 61201;
inline constexpr int UnknownField = 61202;
inline constexpr int BadFieldFormat = 61203;
inline constexpr int UnmatchedBrace = 61204;
inline constexpr int ProcessOk = 61207;
inline constexpr int CanBeRenamed = 61208;
inline constexpr int FileNotFound = 61209;
inline constexpr int NoChange = 61210;
inline constexpr int NoParameters = 61211;
inline constexpr int NoMatch = 61212;
inline constexpr int Error = 61213;
inline constexpr int Ok = 61214;
}  // namespace Msg

// The text of a message; empty for a number the table does not hold.
std::string_view Message(int id);

}  // namespace vt
