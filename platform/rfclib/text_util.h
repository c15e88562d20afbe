// Small text helpers shared by the parsers of the library and the simulator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw::rfclib {

/*
 * `text` without blanks, tabs and carriage returns at both ends.
 */
std::string_view trim(std::string_view text);

/*
 * `text` in upper case (ASCII letters only).
 */
std::string upper(std::string_view text);

/*
 * True when both texts are equal apart from the letter case of ASCII letters.
 */
bool equal_ignoring_case(std::string_view a, std::string_view b);

/*
 * A number of one or two decimal digits (a system number, a return code), or -1.
 */
int parse_two_digits(std::string_view text);

/*
 * The lines of `text`, split at line feeds (a final line feed gives no empty last line).
 */
std::vector<std::string_view> split_lines(std::string_view text);

/*
 * The words of `text`, separated by blanks and tabs.
 */
std::vector<std::string_view> split_words(std::string_view text);

}  // namespace tw::rfclib
