// fields, get and set: the fields of the pages, by name.
#include <CLI/CLI.hpp>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/CFieldCatalog.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"
#include "rom/ImageMap.h"

namespace cli {
namespace {

// Passes over a transplanted document after the first, for fields whose place an
// earlier one moved (a parameter index that sends a mode to another record).
constexpr int kMaxSettlingPasses = 3;

// Runs `work` on the image, with its errors naming the file.
template <class Work>
int OnImage(const std::filesystem::path& path, Work work) {
  LoadImage(ReadImageFile(path));
  CFieldCatalog catalog;
  try {
    return work(catalog);
  } catch (const CliError& e) {
    throw CliError(e.status(), FileName(path) + ": " + e.what());
  }
}

void PrintNotes(const std::filesystem::path& path, const std::vector<std::string>& notes) {
  for (const std::string& note : notes) std::cerr << "ombrix: " << FileName(path) << ": " << note << "\n";
}

int Fields(const std::filesystem::path& path, const std::string& prefix, bool json) {
  return OnImage(path, [&](CFieldCatalog& catalog) {
    std::vector<std::string> notes;
    const std::vector<FieldText> fields = catalog.List(prefix, notes);
    PrintNotes(path, notes);
    if (json) {
      nlohmann::json list = nlohmann::json::array();
      for (const FieldText& f : fields) {
        list.push_back({{"name", f.name}, {"page", catalog.PageCaption(f.page)}, {"text", JsonText(f.text)}});
      }
      nlohmann::json problems = nlohmann::json::array();
      for (const std::string& note : notes) problems.push_back(JsonText(note));
      PrintJson({{"file", FileName(path)}, {"fields", list}, {"problems", problems}});
    } else {
      for (const FieldText& f : fields) std::cout << f.name << '=' << f.text << '\n';
    }
    return static_cast<int>(kOk);
  });
}

int Get(const std::filesystem::path& path, const std::vector<std::string>& names, bool json) {
  return OnImage(path, [&](CFieldCatalog& catalog) {
    std::vector<std::pair<std::string, std::string>> texts;
    for (const std::string& name : names) texts.emplace_back(name, catalog.Get(name));
    if (json) {
      nlohmann::json list = nlohmann::json::array();
      for (const auto& [name, text] : texts) list.push_back({{"name", name}, {"text", JsonText(text)}});
      PrintJson({{"file", FileName(path)}, {"fields", list}});
    } else {
      for (const auto& named : texts) std::cout << named.second << '\n';
    }
    return static_cast<int>(kOk);
  });
}

// `\xHH` is the byte HH and `\\` a backslash; any other backslash is a mistake.
std::string Unescaped(const std::string& assignment, const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '\\') {
      bytes += '\\';
      ++i;
    } else if (i + 3 < text.size() && text[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
      bytes += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      throw CliError(kUsage, assignment + ": with --escapes, a backslash begins \\xHH (a byte) or \\\\ (a backslash)");
    }
  }
  return bytes;
}

std::vector<Assignment> ParseAssignments(const std::vector<std::string>& texts, bool escapes) {
  std::vector<Assignment> assignments;
  for (const std::string& assignment : texts) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) throw CliError(kUsage, assignment + ": expected FIELD=TEXT");
    std::string text = assignment.substr(equals + 1);
    if (escapes) text = Unescaped(assignment, text);
    assignments.push_back({assignment.substr(0, equals), std::move(text)});
  }
  return assignments;
}

// The fields of a document that `fields --json` or `get --json` printed, from a file or standard input.
std::vector<Assignment> ReadDocument(const std::string& from) {
  std::string text;
  const std::string name = from == "-" ? "standard input" : from;
  if (from == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    // The name is UTF-8, as every argument is (see cli/ArgumentPath.h).
    std::ifstream in(std::filesystem::path(std::u8string(from.begin(), from.end())), std::ios::binary);
    if (!in) throw CliError(kFileError, name + ": cannot be read");
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
  const char* const shape =
      ": not a document of `ombrix fields --json` or `ombrix get --json` (\"fields\": [{\"name\", "
      "\"text\"}, ...])";
  if (document.is_discarded() || !document.is_object() || !document.contains("fields") ||
      !document["fields"].is_array()) {
    throw CliError(kUsage, name + shape);
  }
  std::vector<Assignment> assignments;
  for (const nlohmann::json& field : document["fields"]) {
    if (!field.is_object() || !field.contains("name") || !field["name"].is_string() || !field.contains("text") ||
        !field["text"].is_string()) {
      throw CliError(kUsage, name + shape);
    }
    const std::string fieldName = field["name"].get<std::string>();
    const std::optional<std::string> bytes = BytesOfJsonText(field["text"].get<std::string>());
    if (!bytes) {
      throw CliError(kRefused, name + ": " + fieldName +
                                   ": a text of the image holds bytes, characters U+0000 to "
                                   "U+00FF; this one holds a character above U+00FF");
    }
    assignments.push_back({fieldName, *bytes});
  }
  return assignments;
}

// The document's fields, as they read now, that do not read as the document says.
std::vector<Assignment> Unsettled(const std::vector<Assignment>& document) {
  CFieldCatalog fresh;
  std::vector<std::string> notes;
  std::map<std::string, std::string> now;
  for (FieldText& f : fresh.List("", notes)) now.emplace(f.name, std::move(f.text));
  std::vector<Assignment> unsettled;
  for (const Assignment& a : document) {
    const auto it = now.find(a.name);
    if (it == now.end() || it->second != a.text) unsettled.push_back(a);
  }
  return unsettled;
}

// Every field of the document, in its order; then again those that an earlier one moved.
void Transplant(CFieldCatalog& catalog, const std::vector<Assignment>& document) {
  std::string layout = rom::LayoutKey();
  catalog.SetAll(document);
  for (int pass = 0; pass <= kMaxSettlingPasses && rom::LayoutKey() != layout; ++pass) {
    const std::vector<Assignment> unsettled = Unsettled(document);
    if (unsettled.empty()) return;
    if (pass == kMaxSettlingPasses) {
      throw CliError(kRefused, unsettled.front().name + ": does not read as the document says after " +
                                   std::to_string(kMaxSettlingPasses + 1) + " passes; nothing was written");
    }
    layout = rom::LayoutKey();
    catalog.SetAll(unsettled);
  }
}

int Set(const std::filesystem::path& path, const std::vector<std::string>& texts, const std::string& from, bool escapes,
        const std::filesystem::path& out) {
  if (texts.empty() && from.empty()) throw CliError(kUsage, "set: no FIELD=TEXT and no --from FILE");
  const std::vector<Assignment> assignments = ParseAssignments(texts, escapes);
  const std::vector<Assignment> document = from.empty() ? std::vector<Assignment>{} : ReadDocument(from);
  OnImage(path, [&](CFieldCatalog& catalog) {
    if (!document.empty()) Transplant(catalog, document);
    catalog.SetAll(assignments);
    return static_cast<int>(kOk);
  });
  // Every assignment was taken: only now is anything written. The save names its own file.
  SaveImage(path, out);
  return kOk;
}

}  // namespace

void AddFieldCommands(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image, out;
    std::string prefix, from;
    std::vector<std::string> names;
    bool json = false;
    bool escapes = false;
  };
  auto options = std::make_shared<Options>();

  CLI::App* fields = app.add_subcommand("fields", "Every field of every page with its text, one NAME=TEXT per line");
  fields->add_option("IMAGE", options->image, "the image file")->required();
  fields->add_option("PREFIX", options->prefix, "only the fields whose names begin with this (e.g. memory)");
  fields->add_flag("--json", options->json, "one JSON document (a text's byte b is the character U+00b)");
  fields->callback([options, &status] { status = Fields(options->image, options->prefix, options->json); });
  fields->footer(kExitStatusHelp);

  CLI::App* get = app.add_subcommand("get", "The texts of fields, one per line");
  get->add_option("IMAGE", options->image, "the image file")->required();
  get->add_option("FIELD", options->names, "field names, as `ombrix fields` lists them")->required();
  get->add_flag("--json", options->json, "one JSON document (a text's byte b is the character U+00b)");
  get->callback([options, &status] { status = Get(options->image, options->names, options->json); });
  get->footer(kExitStatusHelp);

  CLI::App* set =
      app.add_subcommand("set", "Types texts into fields and applies their pages; saves only when every one is taken");
  set->add_option("IMAGE", options->image, "the image file")->required();
  set->add_option("ASSIGNMENT", options->names, "FIELD=TEXT, as typed into the page's box");
  set->add_option("--from", options->from,
                  "first every field of this document of `ombrix fields --json` or `get --json` (- for standard "
                  "input)");
  set->add_flag("-e,--escapes", options->escapes, "in the texts, \\xHH is the byte HH and \\\\ a backslash");
  set->add_option("-o,--output", options->out,
                  "write to this file instead of IMAGE: IMAGE's whole file with the changes, bytes past 32 KB "
                  "included");
  set->callback([options, &status] {
    status = Set(options->image, options->names, options->from, options->escapes, options->out);
  });
  set->footer(
      "Each assignment is made on the image as the ones before it left it. A hexadecimal field takes 1 up to its\n"
      "box's number of hexadecimal digits, in either case; anything else is refused. Nothing is written unless\n"
      "every assignment is taken.\n" +
      std::string(kExitStatusHelp));
}

}  // namespace cli
