#pragma once
// The version of Orbivex, as CMakeLists.txt's project() names it. It lives in one generated
// source file, so that a new version rebuilds that file alone.

namespace orbivex {

const char* ProgramVersion();

} // namespace orbivex
