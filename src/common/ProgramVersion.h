#pragma once

// The program's version and its date, as the information page, the printout and every program's
// --version show them.
namespace ProgramVersion {
inline constexpr char Number[] = "5.19";
inline constexpr char Date[] = "24. Januar 1999";
} // namespace ProgramVersion
