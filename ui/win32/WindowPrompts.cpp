#include "ui/win32/WindowPrompts.h"

#include <commdlg.h>

#include <vector>

#include "ui/win32/TextCodec.h"

namespace ui::win32 {
namespace {

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

// comdlg32 pulls in the shell's DLLs; it is loaded at the first file dialog,
// not at start-up.
FileDialogFunction CommonDialog(const char* name) {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
  return library ? reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                 : nullptr;
}

}  // namespace

std::wstring FileDialogFilter(const std::string& filter) {
  std::wstring out = Utf8ToWide(filter);
  for (wchar_t& c : out) {
    if (c == L'|') c = L'\0';
  }
  out += L'\0';
  return out;
}

ui::Answer WindowPrompts::Message(const std::string& text, const std::string& caption, ui::Buttons buttons,
                                  ui::Icon icon) {
  UINT flags = buttons == ui::Buttons::kOk      ? MB_OK
               : buttons == ui::Buttons::kYesNo ? MB_YESNO
                                                : MB_YESNOCANCEL;
  if (icon == ui::Icon::kWarning) flags |= MB_ICONEXCLAMATION;
  switch (MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags)) {
    case IDYES: return ui::Answer::kYes;
    case IDNO: return ui::Answer::kNo;
    case IDCANCEL: return buttons == ui::Buttons::kOk ? ui::Answer::kOk : ui::Answer::kCancel;
    default: return ui::Answer::kOk;
  }
}

std::optional<std::filesystem::path> WindowPrompts::RunFileDialog(const ui::FileDialog& dialog, bool save) {
  const std::wstring filter = FileDialogFilter(dialog.filter);
  const std::wstring extension = Utf8ToWide(dialog.defaultExtension);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring initial = dialog.initialName.wstring();
  if (initial.size() < file.size()) std::copy(initial.begin(), initial.end(), file.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (dialog.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (dialog.pathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (dialog.promptOverwrite) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (dialog.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  const FileDialogFunction run = CommonDialog(save ? "GetSaveFileNameW" : "GetOpenFileNameW");
  if (!run || !run(&ofn)) return std::nullopt;
  return std::filesystem::path(file.data());
}

std::optional<std::filesystem::path> WindowPrompts::OpenFile(const ui::FileDialog& dialog) {
  return RunFileDialog(dialog, false);
}

std::optional<std::filesystem::path> WindowPrompts::SaveFile(const ui::FileDialog& dialog) {
  return RunFileDialog(dialog, true);
}

}  // namespace ui::win32
