#pragma once
namespace vt {
inline constexpr char PathSeparator = '/';
}
