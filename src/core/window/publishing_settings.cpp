#include "window/publishing_settings.h"

#include "generate/access_url.h"
#include "generate/startup_settings.h"

namespace quorvale {
namespace {

constexpr const char* kBrowsePublishTitle = "Select the Publishing Directory ...";
constexpr const char* kKeepLocationTip = "Leave the GPS position in the display copies and published originals of "
                                         "pictures that hold one (serial numbers and owner names never stay)";
constexpr const char* kKeepLocationJavaTip =
    "The JAVA viewer publishes the original pictures unchanged, location included; choose HTML to publish them "
    "without it";

}  // namespace

void PublishingSettings::Start() {
  settings_ = StartupSettings(state_.directories.ProgramFolder);
  // The Torvexa option is selected first, which runs SelectViewerType; a project file
  // or the user may choose the HTML viewer from then on.
  settings_.ViewerType = kJavaViewerType;
  SelectViewerType();
  html_enabled_ = true;
}

void PublishingSettings::SettingsLoaded() { FollowViewerSourceFolder(settings_, state_.directories.ProgramFolder); }

void PublishingSettings::SelectViewerType() {
  // The Torvexa run publishes every original as it is, so its box is ticked and locked;
  // with the HTML viewer publishing the originals is the user's choice, ticked to start.
  settings_.PublishPictures = 1;
  FollowViewerSourceFolder(settings_, state_.directories.ProgramFolder);
}

void PublishingSettings::OnViewerOptionChosen(const std::string& viewer_type) {
  if (IsHtmlViewerType(viewer_type) == IsHtmlViewerType(settings_.ViewerType)) return;
  settings_.ViewerType = IsHtmlViewerType(viewer_type) ? kHtmlViewerType : kJavaViewerType;
  SelectViewerType();
  state_.project.Modified = true;
  state_.Notify();
}

// The box always shows the URL of the Publishing Directory.
std::string PublishingSettings::AccessUrl() const { return AccessUrlFor(settings_.PublishDirectory); }

void PublishingSettings::SetPublishDirectory(const std::string& text) {
  if (text == settings_.PublishDirectory) return;  // an unchanged text raises no change
  settings_.PublishDirectory = text;
  state_.project.Modified = true;
}

void PublishingSettings::OnPublishDirectoryEdited(const std::string& text) {
  // The box showing the setting again is no edit.
  if (text == settings_.PublishDirectory) return;
  const Selection before = state_.CurrentSelection();
  SetPublishDirectory(text);
  state_.RecordEdit(before, "publish directory");
  state_.Notify();
}

void PublishingSettings::OnKeepLocationClicked(bool checked) {
  if (KeepLocationEnabled() && checked != settings_.KeepLocation) {
    settings_.KeepLocation = checked;
    state_.project.Modified = true;  // the setting is saved with the project
  }
  state_.Notify();
}

void PublishingSettings::OnPublishPicturesClicked(bool checked) {
  const int value = checked ? 1 : 0;
  if (PublishPicturesEnabled() && value != settings_.PublishPictures) {
    settings_.PublishPictures = value;
    state_.project.Modified = true;  // the setting is saved with the project
  }
  state_.Notify();
}

const char* PublishingSettings::KeepLocationToolTip() const {
  return KeepLocationEnabled() ? kKeepLocationTip : kKeepLocationJavaTip;
}

void PublishingSettings::OnAccessUrlEdited(const std::string&) {
  // Typing is undone at once: the view shows AccessUrl() again.
  state_.Notify();
}

void PublishingSettings::BrowseForDirectory() {
  const auto folder = state_.dialogs.ChooseFolder(kBrowsePublishTitle, settings_.PublishDirectory);
  if (!folder) return;
  const Selection before = state_.CurrentSelection();
  SetPublishDirectory(*folder);
  state_.RecordEdit(before);
  state_.Notify();
}

}  // namespace quorvale
