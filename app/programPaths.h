#pragma once
// Where the program finds what it was built with: plug-in builds in lib/ and MEL scripts in
// scripts/, both beside the bin/ folder the program is in.

#include <string>

namespace quillo {

// The folder the program itself lives in.
std::string programDirectory();
// The plug-in build loaded when none is named: quillo2013 from lib/ beside the program.
std::string defaultPluginPath();
// A build's name as the host knows it: the file name without folders or extension.
std::string pluginName(const std::string& path);

} // namespace quillo
