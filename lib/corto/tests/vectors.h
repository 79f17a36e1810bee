// Access to the recorded stream vectors shared by the corto tests.
#pragma once
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

std::string vectorDir();
std::vector<uint8_t> readFile(const std::string& path);
nlohmann::json readJson(const std::string& path);
// Names of all vectors (the .json stems), sorted.
std::vector<std::string> vectorNames();
