#pragma once

#include <string>
#include <vector>

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
  // A viewer's option selected by the user.
  void OnViewerOptionChosen(ViewerId viewer);
  void OnAccessUrlEdited(const std::string& text);         // lblApplicationURL change
  void OnKeepLocationClicked(bool checked);                // chkKeepLocation click
  void OnPublishPicturesClicked(bool checked);             // chkPublishPictures click
  void OnSiteTitleEdited(const std::string& text);         // txtSiteTitle change
  void OnSiteLanguageChosen(int index);                    // cboSiteLanguage choice, of SiteLanguageNames()
  void BrowseForDirectory();                               // btnPubDir
  // txtUploadTo, when the user has finished typing in it. A plain ftp:// address is
  // taken only after the user has agreed to send the password unencrypted.
  void OnUploadAddressEdited(const std::string& text);

  // State the page shows. While a run goes on none of the settings can be changed.
  bool SettingsEnabled() const { return state_.SettingsEditable(); }  // viewer options, frmPublish
  std::string AccessUrl() const;  // lblApplicationURL
  // Publishing the originals is a choice with a viewer that publishes them cleaned.
  bool PublishPicturesEnabled() const { return OriginalsOptional(); }   // chkPublishPictures
  bool PublishPicturesChecked() const { return settings_.PublishPictures == 1; }  // chkPublishPictures
  bool PublishLabelsEnabled() const { return OriginalsOptional(); }     // Label3, Label8
  bool KeepLocationEnabled() const { return OriginalsOptional(); }      // chkKeepLocation
  const std::string& KeepLocationToolTip() const;                       // chkKeepLocation
  // The site's title and language, with a viewer whose pages take them.
  bool SiteTextsEnabled() const;                                        // txtSiteTitle, cboSiteLanguage
  const std::string& SiteTitle() const { return settings_.SiteTitle; }  // txtSiteTitle
  static std::vector<std::string> SiteLanguageNames();                  // cboSiteLanguage's items
  int SiteLanguageIndex() const;                                        // cboSiteLanguage
  const std::string& UploadAddress() const { return settings_.UploadAddress; }  // txtUploadTo
  static const std::string& UploadAddressToolTip();                             // txtUploadTo
  // A line under the viewer options about the chosen viewer; empty when it needs none.
  std::string ViewerHint() const;
  // The viewer whose option is selected.
  ViewerId ChosenViewer() const { return settings_.ViewerType; }

 private:
  void SelectViewerType();
  bool OriginalsOptional() const;

  WindowState& state_;
  ProjectSettings& settings_ = state_.settings;
};

}  // namespace quorvale
