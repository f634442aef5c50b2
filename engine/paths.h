#pragma once

#include <string>

namespace engine {

// The folder holding Config/, Lang/, Help/ and sound.wav, ending in '/':
// $VELMORA_HOME when set, else the folder of the running program.
[[nodiscard]] std::string programFolder();

// programFolder() + relative path.
[[nodiscard]] std::string programFile(const std::string& relative);

} // namespace engine
