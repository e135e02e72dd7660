#pragma once
// Base of every page: the life cycle that all pages share.

#include <string>

#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/PageHost.h"

namespace ui {

// A page edits its fields in its controls only; the sheet's Apply writes them
// into the image (StoreToImage) and reloads them (LoadFromImage). This base
// runs the shared life cycle, so a page adds nothing but its fields:
//  - creation: InitControls(), then the first exchange into the controls;
//  - activation: OnPageActivate() (by default: Open when no image is loaded,
//    then, with an image, OnShownWithImage() and LoadFromImage()), and on every
//    activation but the first the members go into the controls once more;
//  - deactivation: the controls go into the members with their checks, and a
//    failed check keeps the page active; nothing reaches the image;
//  - an Open made while the page is active: OnShownWithImage(), LoadFromImage().
class PropertyPage {
 public:
  PropertyPage(int templateId, std::string caption);
  virtual ~PropertyPage() = default;
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  int TemplateId() const { return templateId_; }
  const std::string& Caption() const { return caption_; }

  // The window layer calls these.
  void Create(Controls& controls, PageHost& host);
  void Destroy();
  bool IsCreated() const { return controls_ != nullptr; }
  void OnSetActive();
  bool OnKillActive();
  virtual void OnListCloseUp(int /*listId*/) {}

  // The sheet calls these, on the active page only.
  virtual void LoadFromImage() = 0;
  virtual void StoreToImage() = 0;
  void OnImageOpened();

 protected:
  virtual void ExchangeFields(DataExchange& dx) = 0;
  // Fills what the dialog template gives before the first exchange (list entries).
  virtual void InitControls() {}
  virtual void OnPageActivate();
  // The page is about to load from an image while it is shown.
  virtual void OnShownWithImage() {}

  // Starts the Open command when no image is loaded, then reloads the page if
  // an image is loaded by then: the answer to a list's close-up.
  void RefreshFromImage();
  // Runs the exchange; false when a check failed.
  bool UpdateData(bool storing);
  void ShowError(const std::string& text);

  Controls& controls() { return *controls_; }
  PageHost& host() { return *host_; }
  bool ImageLoaded() const { return host_ != nullptr && host_->ImageLoaded(); }

 private:
  int templateId_;
  std::string caption_;
  Controls* controls_ = nullptr;
  PageHost* host_ = nullptr;
  bool firstActivation_ = true;
  unsigned openLoads_ = 0;
};

}  // namespace ui
