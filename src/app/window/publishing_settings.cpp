#include "window/publishing_settings.h"

#include <cctype>
#include <iterator>

#include "generate/access_url.h"
#include "viewers/html/viewer_words.h"
#include "viewers/startup_settings.h"
#include "viewers/viewer_registry.h"

namespace quorvale {
namespace {

constexpr const char* kBrowsePublishTitle = "Select the Publishing Directory ...";
constexpr const char* kUploadAddressCaption = "Upload to";
constexpr const char* kPlainFtpQuestion =
    "An ftp:// address sends your password and every file of the site unencrypted: anyone on the "
    "way to the server can read them. Use an sftp:// or ftps:// address if the server offers one.\n\n"
    "Upload to this ftp:// address all the same?";

// ftp:// in any case of letters: the server is reached without encryption.
bool IsPlainFtpAddress(const std::string& text) {
  constexpr std::string_view kScheme = "ftp://";
  if (text.size() < kScheme.size()) return false;
  for (std::size_t i = 0; i < kScheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != kScheme[i]) return false;
  }
  return true;
}

}  // namespace

void PublishingSettings::Start() {
  settings_ = StartupSettings(state_.directories.ProgramFolder);
  // The first viewer's option is selected first, which runs SelectViewerType; a project
  // file or the user may choose another from then on.
  settings_.ViewerType = Viewers().front().id;
  SelectViewerType();
}

void PublishingSettings::SettingsLoaded() { FollowViewerSourceFolder(settings_, state_.directories.ProgramFolder); }

void PublishingSettings::SelectViewerType() {
  // A viewer that publishes every original as it is has the box ticked and locked; with
  // one that makes publishing them a choice, the box is ticked to start.
  settings_.PublishPictures = 1;
  FollowViewerSourceFolder(settings_, state_.directories.ProgramFolder);
}

void PublishingSettings::OnViewerOptionChosen(ViewerId viewer) {
  if (viewer != settings_.ViewerType && state_.SettingsEditable()) {
    const Selection before = state_.CurrentSelection();
    settings_.ViewerType = viewer;
    SelectViewerType();
    state_.RecordEdit(before);
  }
  state_.Notify();  // a refused choice shows the viewer that stays
}

std::string PublishingSettings::ViewerHint() const { return ViewerFor(settings_.ViewerType).hint; }

// The box always shows the URL of the Publishing Directory.
std::string PublishingSettings::AccessUrl() const { return AccessUrlFor(settings_.PublishDirectory); }

void PublishingSettings::OnPublishDirectoryEdited(const std::string& text) {
  // The box showing the setting again is no edit; typing on in it is one step.
  if (text != settings_.PublishDirectory && state_.SettingsEditable()) {
    const Selection before = state_.CurrentSelection();
    settings_.PublishDirectory = text;
    state_.RecordEdit(before, "publish directory");
  }
  state_.Notify();
}

void PublishingSettings::OnKeepLocationClicked(bool checked) {
  if (KeepLocationEnabled() && checked != settings_.KeepLocation) {
    const Selection before = state_.CurrentSelection();
    settings_.KeepLocation = checked;
    state_.RecordEdit(before);
  }
  state_.Notify();
}

void PublishingSettings::OnPublishPicturesClicked(bool checked) {
  const int value = checked ? 1 : 0;
  if (PublishPicturesEnabled() && value != settings_.PublishPictures) {
    const Selection before = state_.CurrentSelection();
    settings_.PublishPictures = value;
    state_.RecordEdit(before);
  }
  state_.Notify();
}

void PublishingSettings::OnSiteTitleEdited(const std::string& text) {
  // Typing on in the box is one step.
  if (SiteTextsEnabled() && text != settings_.SiteTitle) {
    const Selection before = state_.CurrentSelection();
    settings_.SiteTitle = text;
    state_.RecordEdit(before, "site title");
  }
  state_.Notify();
}

void PublishingSettings::OnSiteLanguageChosen(int index) {
  // The default language is stored as no record at all.
  const auto languages = std::size(kSiteLanguages);
  const std::string language =
      index <= 0 || static_cast<std::size_t>(index) >= languages ? "" : std::string(kSiteLanguages[index]);
  if (SiteTextsEnabled() && language != settings_.SiteLanguage) {
    const Selection before = state_.CurrentSelection();
    settings_.SiteLanguage = language;
    state_.RecordEdit(before);
  }
  state_.Notify();
}

bool PublishingSettings::SiteTextsEnabled() const {
  return state_.SettingsEditable() && ViewerFor(settings_.ViewerType).site_texts;
}

std::vector<std::string> PublishingSettings::SiteLanguageNames() {
  return {std::begin(kSiteLanguageNames), std::end(kSiteLanguageNames)};
}

int PublishingSettings::SiteLanguageIndex() const {
  const std::string_view language = SiteLanguageOrDefault(settings_.SiteLanguage);
  for (std::size_t i = 0; i < std::size(kSiteLanguages); ++i) {
    if (kSiteLanguages[i] == language) return static_cast<int>(i);
  }
  return 0;
}

bool PublishingSettings::OriginalsOptional() const {
  return state_.SettingsEditable() && ViewerFor(settings_.ViewerType).originals_optional;
}

const std::string& PublishingSettings::KeepLocationToolTip() const {
  return ViewerFor(settings_.ViewerType).keep_location_tip;
}

void PublishingSettings::OnAccessUrlEdited(const std::string&) {
  // Typing is undone at once: the view shows AccessUrl() again.
  state_.Notify();
}

void PublishingSettings::BrowseForDirectory() {
  if (!state_.SettingsEditable()) return;
  const auto folder = state_.dialogs.ChooseFolder(kBrowsePublishTitle, settings_.PublishDirectory);
  if (!folder) return;
  if (*folder != settings_.PublishDirectory) {
    const Selection before = state_.CurrentSelection();
    settings_.PublishDirectory = *folder;
    state_.RecordEdit(before);
  }
  state_.Notify();
}

const std::string& PublishingSettings::UploadAddressToolTip() {
  static const std::string tip =
      "Where Upload copies the site:\n"
      "  sftp://user@host[:port]/path (signs in with your SSH agent or key)\n"
      "  ftps://user@host[:port]/path (asks for the password)\n"
      "  ftp://user@host[:port]/path (unencrypted: the password can be read on the way)\n"
      "  or a folder of this computer.\n"
      "A path starting with /~/ is below the user's home folder. No password goes here.";
  return tip;
}

void PublishingSettings::OnUploadAddressEdited(const std::string& text) {
  if (text != settings_.UploadAddress && state_.SettingsEditable() &&
      (!IsPlainFtpAddress(text) ||
       state_.Message(kPlainFtpQuestion, kUploadAddressCaption, Buttons::kYesNo, Icon::kExclamation) == Answer::kYes)) {
    const Selection before = state_.CurrentSelection();
    settings_.UploadAddress = text;
    state_.RecordEdit(before);
  }
  state_.Notify();  // a refused address gives way to the one that stays
}

}  // namespace quorvale
