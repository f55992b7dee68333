#include "app/startup.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string>

#include "app/notices.h"
#include "app/program_state.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/picture_prefetch.h"
#include "ui/category_buttons.h"
#include "ui/category_pages.h"
#include "toolkit/utf8_text.h"
#include "ui/main_window.h"
#include "ui/main_window_design.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"
#include "units/category.h"

namespace velmora {
namespace {

// The pictures of the main window's first frame are decoded on a thread of their own while the
// window is built: its icons, the remembered style's background (no larger than the window) and
// button faces, then the pictures of the shown controls.
void PrefetchMainWindowPictures(const WindowDesign& design) {
  std::vector<PictureRequest> requests;
  for (const std::string& icon : design.icon_pictures)
    requests.push_back({FromUtf8(icon), QSize()});
  if (const SkinStyle* style = FindSkinStyle(ReadInterfaceStyle())) {
    requests.push_back({QString::fromUtf8(style->background), QSize(design.width, design.height)});
    requests.push_back({QString::fromUtf8(style->settings_face), QSize()});
    requests.push_back({QString::fromUtf8(style->help_face), QSize()});
  }
  for (const ControlDesign& control : design.controls) {
    if (control.visible && !control.look.picture.empty()) {
      requests.push_back({FromUtf8(control.look.picture), QSize()});
    }
  }
  PrefetchPictures(std::move(requests));
}

}  // namespace

std::jthread StartFontWarmUp() {
  return std::jthread([] { FcInit(); });
}

HandlerTable MainWindowHandlers(ProgramState& state) {
  HandlerTable table;
  AddMainWindowHandlers(table, state.conversion, state.drag);
  AddNoticeHandlers(table, state.notices);
  AddSecondaryWindowOpeners(table, state.secondary_windows());
  table[kOnMainWindowCreated] = [&state](const EventArgs& e) {
    OnMainWindowCreated(state, e.window);
  };
  table[kOnMainWindowDestroyed] = [&state](const EventArgs& e) {
    OnMainWindowDestroyed(state, e.window);
  };
  return table;
}

void OnMainWindowCreated(ProgramState& state, Window* window) {
  // The notice fetches run on threads of their own, the message before any setting is read and
  // the advert once the window is on screen.
  StartNoticeFetch(state.notices, window, NoticeKind::kMessage);
  // The outline is cut to the window's fixed size before the window is built up.
  SetWindowOutline(window, kMainWindowWidth, kMainWindowHeight, kOutlineCorner, kOutlineCorner);
  ConversionState& conversion = state.conversion;
  conversion.settings = ReadGeneralSettings();
  NameCategoryButtons(window);
  ApplyInterfaceStyle(conversion.settings, window);
  const int last = conversion.settings.LastCategory;
  if (conversion.settings.RememberLastCategory == 1 && last >= 0 && last < kCategoryCount) {
    LoadCategoryPage(conversion, window, last + 1);
  }
  DressCategoryButtons(window);
  DressLinkLabels(state.notices, window);
  SetVisible(WindowControl(window), true);
  AddSystemMenu(window);
  StartNoticeFetch(state.notices, window, NoticeKind::kAdvert);
}

void OnMainWindowDestroyed(ProgramState& state, Window* window) {
  // A fetch still waiting for its server must not reach a window (or state) that is going.
  StopNoticeHandOver(window);
  if (state.conversion.settings.RememberLastCategory == 1) {
    const int page = CurrentPage(FindControl(window, kPageControlName));
    WriteSetting(kGeneralSection, kLastCategoryKey, std::to_string(page));
  }
  RemoveTrayIcon(window);
}

QTranslator* InstallQtTranslations(const QLocale& locale) {
  if (locale.language() != QLocale::Chinese || QCoreApplication::instance() == nullptr) {
    return nullptr;
  }
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

Window* StartProgram(ProgramState& state) {
  PrefetchMainWindowPictures(MainWindowDesign());
  return LoadWindow(MainWindowDesign(), MainWindowHandlers(state), nullptr, false);
}

}  // namespace velmora
