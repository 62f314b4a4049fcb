#pragma once

#include <string>

#include "window/window_state.h"

namespace quorvale {

// The caption of chkPublishPictures: with the HTML viewer the box decides whether the
// originals are published beside their thumbnails and display copies.
inline constexpr const char* kPublishPicturesCaption = "Publish the original pictures for download";

// The Generate page's settings: the viewer, the publish-pictures and keep-location
// boxes, the Publishing Directory and its access URL. They are saved with the project.
class PublishingSettings {
 public:
  explicit PublishingSettings(WindowState& state) : state_(state) {}

  // The settings of start-up: the program folder's, with the Torvexa viewer selected.
  void Start();
  // A project file's settings were read: its viewer brings its own files.
  void SettingsLoaded();

  void OnPublishDirectoryEdited(const std::string& text);  // txtPublishDirectory change
  // optionJava or optionHTML selected by the user: kJavaViewerType or kHtmlViewerType.
  void OnViewerOptionChosen(const std::string& viewer_type);
  void OnAccessUrlEdited(const std::string& text);         // lblApplicationURL change
  void OnKeepLocationClicked(bool checked);                // chkKeepLocation click
  void OnPublishPicturesClicked(bool checked);             // chkPublishPictures click
  void BrowseForDirectory();                               // btnPubDir

  // State the page shows.
  std::string AccessUrl() const;  // lblApplicationURL
  // Publishing the originals is a choice with the HTML viewer only.
  bool PublishPicturesEnabled() const { return HtmlOptionSelected(); }  // chkPublishPictures
  bool PublishPicturesChecked() const { return settings_.PublishPictures == 1; }  // chkPublishPictures
  bool PublishLabelsEnabled() const { return HtmlOptionSelected(); }    // Label3, Label8
  bool KeepLocationEnabled() const { return HtmlOptionSelected(); }     // chkKeepLocation
  const char* KeepLocationToolTip() const;                              // chkKeepLocation
  bool JavaOptionSelected() const { return !HtmlOptionSelected(); }     // optionJava
  bool HtmlOptionSelected() const { return IsHtmlViewerType(settings_.ViewerType); }  // optionHTML
  bool HtmlOptionEnabled() const { return html_enabled_; }

 private:
  void SelectViewerType();
  void SetPublishDirectory(const std::string& text);

  WindowState& state_;
  ProjectSettings& settings_ = state_.settings;
  bool html_enabled_ = true;
};

}  // namespace quorvale
