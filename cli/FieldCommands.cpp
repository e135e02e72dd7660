// fields, get and set: the fields of the pages, by name.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/ArgumentPath.h"
#include "cli/CFieldCatalog.h"
#include "cli/CHeadlessEditor.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ImageFile.h"
#include "cli/Output.h"

namespace cli {
namespace {

// Runs `work` on the image, with its errors naming the file.
template <class Work>
int OnImage(const std::filesystem::path& path, Work work) {
  LoadImage(ReadImageFile(path));
  CHeadlessEditor editor;
  CFieldCatalog catalog(editor);
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

int Set(const std::filesystem::path& path, const std::vector<std::string>& assignments,
        const std::filesystem::path& out) {
  return OnImage(path, [&](CFieldCatalog& catalog) {
    for (const std::string& assignment : assignments) {
      const std::size_t equals = assignment.find('=');
      if (equals == std::string::npos) throw CliError(kUsage, assignment + ": expected FIELD=TEXT");
      catalog.Set(assignment.substr(0, equals), assignment.substr(equals + 1));
    }
    // Every assignment was taken: only now is anything written.
    SaveImage(out.empty() ? path : out);
    return static_cast<int>(kOk);
  });
}

}  // namespace

void AddFieldCommands(CLI::App& app, int& status) {
  struct Options {
    ArgumentPath image, out;
    std::string prefix;
    std::vector<std::string> names;
    bool json = false;
  };
  auto options = std::make_shared<Options>();

  CLI::App* fields = app.add_subcommand("fields", "Every field of every page with its text, one NAME=TEXT per line");
  fields->add_option("IMAGE", options->image, "the image file")->required();
  fields->add_option("PREFIX", options->prefix, "only the fields whose names begin with this (e.g. memory)");
  fields->add_flag("--json", options->json, "one JSON document");
  fields->callback([options, &status] { status = Fields(options->image, options->prefix, options->json); });
  fields->footer(kExitStatusHelp);

  CLI::App* get = app.add_subcommand("get", "The texts of fields, one per line");
  get->add_option("IMAGE", options->image, "the image file")->required();
  get->add_option("FIELD", options->names, "field names, as `ombrix fields` lists them")->required();
  get->add_flag("--json", options->json, "one JSON document");
  get->callback([options, &status] { status = Get(options->image, options->names, options->json); });
  get->footer(kExitStatusHelp);

  CLI::App* set = app.add_subcommand(
      "set", "Types texts into fields and applies their pages; saves only when every one is taken");
  set->add_option("IMAGE", options->image, "the image file")->required();
  set->add_option("ASSIGNMENT", options->names, "FIELD=TEXT, as typed into the page's box")->required();
  set->add_option("-o,--output", options->out, "write to this file instead of IMAGE");
  set->callback([options, &status] { status = Set(options->image, options->names, options->out); });
  set->footer(kExitStatusHelp);
}

}  // namespace cli
