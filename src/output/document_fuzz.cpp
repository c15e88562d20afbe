// libFuzzer target of the PRTG document: a message and channels of arbitrary bytes (name,
// value, unit) built through the report operations into the single-system document, the
// global-list document (ended by its summary or by an error tail) and the error document, in
// each XML output mode. Every document must be well-formed XML read as UTF-8, hold the
// elements it was built from, say text that is XML already as it is, and stay byte for byte
// the document of plain escaping where all input is plain ASCII.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/report.h"
#include "support/fuzz_support.h"

namespace {

using tw::Report;
using tw::fuzzing::check;
using tw::fuzzing::XmlElement;

struct Channel {
  std::string name, value, unit;
};

struct Input {
  std::string message;
  std::vector<Channel> channels;
  bool list_fails = false;  ///< the global-list run ends with an error tail
};

/// The three documents of one input in one mode, each as the host reads it.
struct Documents {
  std::string single, list, error;
};

Documents build(const Input& input, const char* mode) {
  Documents documents;
  Report report;
  report.output_mode = mode;

  tw::open_document(report);
  tw::open_text(report);
  tw::report_append(report, input.message);
  tw::close_text(report);
  for (const Channel& channel : input.channels)
    tw::add_channel(report, channel.name, channel.value, channel.unit);
  tw::close_document(report);
  documents.single = report.buffer;

  // The global-list run prints the start, then each channel, then the summary or the end of
  // an error document.
  Report list;
  list.output_mode = mode;
  tw::open_document(list);
  documents.list = list.buffer + "\n";
  for (const Channel& channel : input.channels) {
    list.buffer.clear();
    tw::add_channel(list, channel.name, channel.value, channel.unit);
    documents.list += list.buffer;
  }
  list.buffer.clear();
  if (input.list_fails) {
    tw::write_error_tail(list, input.message);
    documents.list += list.buffer;
  } else {
    tw::open_text(list);
    tw::report_append(list, input.message);
    tw::close_text(list);
    tw::close_document(list);
    documents.list += list.buffer + "\n";
  }

  // Error texts are collected in the buffer unescaped, then made the error document.
  Report failed;
  failed.output_mode = mode;
  tw::report_append(failed, input.message);
  tw::write_error_document(failed, failed.buffer);
  documents.error = failed.buffer;
  return documents;
}

/// An element the document must hold: its name, depth and, when known, its text.
struct Expected {
  std::string name;
  int depth;
  const std::string* text;  ///< input text the element must say; NULL: not compared
};

void expect_channels(std::vector<Expected>& expected, const Input& input) {
  for (const Channel& channel : input.channels) {
    expected.push_back({"Result", 2, nullptr});
    expected.push_back({"Channel", 3, &channel.name});
    if (!channel.unit.empty()) {
      expected.push_back({"Unit", 3, nullptr});
      expected.push_back({"CustomUnit", 3, &channel.unit});
    }
    expected.push_back({"Value", 3, &channel.value});
  }
}

void check_document(std::string_view which, const std::string& document,
                    const std::vector<Expected>& expected, const char* mode,
                    std::string_view input) {
  const tw::fuzzing::XmlReading xml = tw::fuzzing::read_xml(document);
  check(xml.well_formed, "every document is well-formed XML read as UTF-8",
        {{"document kind", which}, {"mode", mode}, {"XML error", xml.error},
         {"document", document}, {"input", input}});
  bool same_elements = xml.elements.size() == expected.size();
  for (std::size_t i = 0; same_elements && i < expected.size(); ++i) {
    same_elements = xml.elements[i].name == expected[i].name &&
                    xml.elements[i].depth == expected[i].depth;
  }
  check(same_elements, "a document holds the elements it was built from",
        {{"document kind", which}, {"document", document}, {"input", input}});
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string* text = expected[i].text;
    if (text == nullptr || !tw::fuzzing::is_xml_utf8(*text)) continue;
    check(xml.elements[i].text == tw::fuzzing::xml_line_ends(*text),
          "text that is well-formed XML text already is said as it is",
          {{"document kind", which}, {"element", expected[i].name}, {"text", *text},
           {"read", xml.elements[i].text}, {"document", document}});
  }
}

bool plain_ascii(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x7F || (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')) return false;
  }
  return true;
}

/// Text in a PRTG document as it was always written: "&", "<", ">" as entities.
std::string plainly_escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

/// The documents as plain escaping writes them, for input of plain ASCII.
Documents plainly_written(const Input& input) {
  std::string channels;
  for (const Channel& channel : input.channels) {
    channels += "\n<Result><Channel>" + plainly_escaped(channel.name) + "</Channel>";
    if (!channel.unit.empty())
      channels += "\n<Unit>Custom</Unit>\n<CustomUnit>" + plainly_escaped(channel.unit) +
                  "</CustomUnit>";
    channels += "\n<Value>" + plainly_escaped(channel.value) + "</Value></Result>\n";
  }
  const std::string text = "\n<Text>" + plainly_escaped(input.message) + "</Text>\n";
  const std::string error_text =
      "<Error>1</Error>\n<Text>" + plainly_escaped(input.message) + "</Text>\n</Prtg>\n";
  Documents documents;
  documents.single = "\n<Prtg>\n" + text + channels + "\n</Prtg>\n";
  documents.list = "\n<Prtg>\n\n" + channels +
                   (input.list_fails ? "\n" + error_text : text + "\n</Prtg>\n\n");
  documents.error = "<Prtg>\n" + error_text;
  return documents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  FuzzedDataProvider provider(data, size);
  Input input;
  const int channel_count = provider.ConsumeIntegralInRange(0, 11);
  input.list_fails = provider.ConsumeBool();
  input.message = provider.ConsumeRandomLengthString(400);
  for (int i = 0; i < channel_count; ++i) {
    Channel channel;
    channel.name = provider.ConsumeRandomLengthString(100);
    channel.value = provider.ConsumeRandomLengthString(40);
    channel.unit = provider.ConsumeRandomLengthString(40);
    input.channels.push_back(std::move(channel));
  }

  const Documents documents = build(input, "EXEXML");
  for (const char* mode : {"Wendlow", "Fiskart"}) {
    const Documents same = build(input, mode);
    check(same.single == documents.single && same.list == documents.list &&
              same.error == documents.error,
          "every XML mode writes the same documents", {{"mode", mode}, {"input", raw}});
  }

  std::vector<Expected> single = {{"Prtg", 1, nullptr}, {"Text", 2, &input.message}};
  expect_channels(single, input);
  check_document("single-system", documents.single, single, "EXEXML", raw);

  std::vector<Expected> list = {{"Prtg", 1, nullptr}};
  expect_channels(list, input);
  if (input.list_fails) list.push_back({"Error", 2, nullptr});
  list.push_back({"Text", 2, &input.message});
  check_document("global-list", documents.list, list, "EXEXML", raw);

  const std::vector<Expected> error = {
      {"Prtg", 1, nullptr}, {"Error", 2, nullptr}, {"Text", 2, &input.message}};
  check_document("error", documents.error, error, "EXEXML", raw);

  bool ascii = plain_ascii(input.message);
  for (const Channel& channel : input.channels) {
    ascii = ascii && plain_ascii(channel.name) && plain_ascii(channel.value) &&
            plain_ascii(channel.unit);
  }
  if (ascii) {
    const Documents plain = plainly_written(input);
    check(documents.single == plain.single && documents.list == plain.list &&
              documents.error == plain.error,
          "plain ASCII documents stay byte for byte as plain escaping writes them",
          {{"single", documents.single}, {"list", documents.list},
           {"error", documents.error}, {"input", raw}});
  }
  return 0;
}
