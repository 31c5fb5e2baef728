// The accessibility interfaces of the widgets here, for the whole process: Qt keeps one list of
// factories per process, so they are installed once, by the program's entry point (and by the
// tests' set-up), before the first widget is made; installing them again changes nothing.
#pragma once

namespace widgets {

void installAccessibleInterfaces();

} // namespace widgets
