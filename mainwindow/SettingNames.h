#pragma once
// The names of the window's settings values, in the order they are written at close.

#include <QLatin1String>

namespace tintara::setting {

inline constexpr QLatin1String Program("Program"); // the program's path, written at start
inline constexpr QLatin1String Top("Top");
inline constexpr QLatin1String Left("Left");
inline constexpr QLatin1String Show("Show");           // the property the list shows
inline constexpr QLatin1String Load("Load");           // the folder files were last chosen in
inline constexpr QLatin1String Recent("Recent");       // the files opened last
inline constexpr QLatin1String ModelView("ModelView"); // the model view's place

} // namespace tintara::setting
