#include "file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "system_library.h"
#include "utf16.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

std::optional<std::string> askFileName(HWND owner, const ui::FileQuestion& question) {
  static const SystemLibrary comdlg(L"comdlg32.dll");
  using Ask = BOOL WINAPI(OPENFILENAMEW*);
  Ask* ask = comdlg.function<Ask>(question.save ? "GetSaveFileNameW" : "GetOpenFileNameW");
  if (!ask) {
    noteFallback("the file dialog could not be loaded");
    return std::nullopt;
  }
  const std::wstring extension = widen(question.extension);  // L".zma"
  // Pairs of a kind's name and its pattern, each ended by a null, the list by another.
  std::wstring filter = widen(question.kind);
  filter += L'\0';
  filter += L"*" + extension;
  filter += L'\0';
  filter += widen(ui::kAllFilesKind);
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring suggested = widen(question.suggested);
  if (suggested.size() < file.size()) std::copy(suggested.begin(), suggested.end(), file.begin());
  const std::wstring title = widen(question.title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.c_str() + 1;  // a name typed without it gets it
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
              (question.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
  if (!ask(&ofn)) {
    using Error = DWORD WINAPI();
    if (Error* error = comdlg.function<Error>("CommDlgExtendedError"); error && error() != 0) {
      noteFallback("the file dialog failed");
    }
    return std::nullopt;
  }
  return narrow(file.data());
}

ui::SaveAnswer askToSave(HWND owner, std::string_view text, std::string_view title) {
  switch (MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(),
                      MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
    case IDYES:
      return ui::SaveAnswer::Save;
    case IDNO:
      return ui::SaveAnswer::Discard;
    case 0:
      noteFallback("the question whether to save could not be shown");
      return ui::SaveAnswer::Cancel;
    default:
      return ui::SaveAnswer::Cancel;
  }
}

}  // namespace kalvena::win32
