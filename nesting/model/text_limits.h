// Texts kept within a number of characters, as the engine's fixed-width texts were.
#pragma once

#include <cstddef>
#include <string>

// Characters (UTF-8 code points) of `text`.
std::size_t CharacterCount(const std::string& text);

// The first `maxChars` characters of `text` (all of it when shorter); a character is never split.
std::string CutToCharacters(const std::string& text, std::size_t maxChars);
