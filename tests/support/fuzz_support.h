// What the libFuzzer targets share: stopping with a readable account of a broken property,
// a scratch directory for the targets that read files, and an XML reader (expat) that says
// whether a document is well-formed and what elements and text it holds.
#pragma once

#include <expat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace tw::fuzzing {

/// Bytes as a C string literal would show them: printable ASCII as it is, every other byte
/// (and the backslash and the double quote) escaped.
inline std::string shown(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      text += '\\';
      text += c;
    } else if (c == '\n') {
      text += "\\n";
    } else if (byte >= 0x20 && byte < 0x7F) {
      text += c;
    } else {
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
    }
  }
  return text + "\"";
}

using NamedText = std::pair<std::string_view, std::string_view>;

/// The working directory the process started in; set when a target first changes it.
inline std::string& starting_directory() {
  static std::string directory;
  return directory;
}

/// Prints which property broke and the named texts involved, then aborts, so that
/// libFuzzer keeps the input that broke it.
[[noreturn]] inline void fail(std::string_view property, std::initializer_list<NamedText> texts) {
  std::string account = "\nproperty broken: " + std::string(property) + "\n";
  for (const NamedText& text : texts) {
    account += "  " + std::string(text.first) + " = " + shown(text.second) + "\n";
  }
  std::fwrite(account.data(), 1, account.size(), stderr);
  // libFuzzer saves the input relative to the working directory it was started in.
  if (!starting_directory().empty() && chdir(starting_directory().c_str()) != 0)
    std::perror("tarnwheel fuzz: back to the starting directory");
  std::abort();
}

/// Fails with `property` and `texts` unless `holds`.
inline void check(bool holds, std::string_view property,
                  std::initializer_list<NamedText> texts = {}) {
  if (!holds) fail(property, texts);
}

/// A directory of its own for this process, made at first use below the system's temporary
/// directory and removed with its content when the process ends.
inline const std::filesystem::path& scratch_directory() {
  // Never destroyed, so that the exit handler still finds it.
  static const std::filesystem::path* const directory = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarnwheel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("tarnwheel fuzz: no scratch directory");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratch_directory(), ignored);
    });
    return new std::filesystem::path(pattern);
  }();
  return *directory;
}

/// Makes a directory the working directory for as long as the guard lives. Targets change
/// it only around the call they fuzz, so that libFuzzer's own relative paths keep working.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    if (starting_directory().empty()) starting_directory() = previous_.string();
    std::filesystem::current_path(directory);
  }
  ~InDirectory() { std::filesystem::current_path(previous_); }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

/// Writes `bytes` to `path`, replacing what was there, creating the directories on the way.
inline void write_file(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  // A new file rather than a truncated one: some file systems write a truncated file's
  // data out at once when it is closed, which slows each run a hundredfold.
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) fail("the fuzz input can be written to a file", {{"path", path.string()}});
}

/// A read stream over `bytes`, as a file would give them, without touching the disk. The
/// bytes must outlive the stream; whoever takes the stream closes it.
inline std::FILE* stream_of(std::string_view bytes) {
  static char nothing = '\0';
  // A stream opened for reading never writes to its buffer.
  char* buffer = bytes.empty() ? &nothing : const_cast<char*>(bytes.data());
  std::FILE* stream = fmemopen(buffer, bytes.size(), "r");
  if (stream == nullptr) fail("a memory stream can be opened", {});
  return stream;
}

/// The whole content of a file as bytes.
inline std::string read_file(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  return bytes;
}

/// One element of a parsed document: its name, its depth (the root is 1) and the character
/// data directly inside it, as the XML reader hands it over (UTF-8, line ends made "\n").
struct XmlElement {
  std::string name;
  int depth = 0;
  std::string text;
};

/// What reading a document as UTF-8 gave: the elements in document order, or an error.
struct XmlReading {
  bool well_formed = false;
  std::string error;  ///< expat's message with line and column when not well-formed
  std::vector<XmlElement> elements;
};

/// Reads `document` as XML 1.0 in UTF-8, whatever it declares, with expat.
inline XmlReading read_xml(std::string_view document) {
  struct State {
    XmlReading reading;
    std::vector<std::size_t> open;  // indexes of the elements not yet closed
  } state;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  if (parser == nullptr) fail("expat makes a parser", {});
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* name, const XML_Char**) {
        auto* s = static_cast<State*>(data);
        s->reading.elements.push_back({name, static_cast<int>(s->open.size()) + 1, {}});
        s->open.push_back(s->reading.elements.size() - 1);
      },
      [](void* data, const XML_Char*) { static_cast<State*>(data)->open.pop_back(); });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    auto* s = static_cast<State*>(data);
    if (!s->open.empty())
      s->reading.elements[s->open.back()].text.append(text, static_cast<std::size_t>(length));
  });
  const bool parsed =
      XML_Parse(parser, document.data(), static_cast<int>(document.size()), XML_TRUE) ==
      XML_STATUS_OK;
  XmlReading reading = std::move(state.reading);
  reading.well_formed = parsed;
  if (!parsed) {
    reading.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                    std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
                    std::to_string(XML_GetCurrentColumnNumber(parser));
  }
  XML_ParserFree(parser);
  return reading;
}

/// True when `text` is valid UTF-8 (shortest forms, no surrogates, nothing above U+10FFFF)
/// and every character is one that XML 1.0 allows.
inline bool is_xml_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    char32_t code;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF)
      return false;
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                         (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                         code >= 0x10000;
    if (!allowed) return false;
    i += length;
  }
  return true;
}

/// `text` with its line ends as an XML reader hands them over: CR LF and a lone CR as LF.
inline std::string xml_line_ends(std::string_view text) {
  std::string normalised;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      normalised += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      normalised += text[i];
    }
  }
  return normalised;
}

}  // namespace tw::fuzzing
