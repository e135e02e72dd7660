#include "ui/PropertyPage.h"

#include <utility>

namespace ui {

PropertyPage::PropertyPage(int templateId, std::string caption)
    : templateId_(templateId), caption_(std::move(caption)) {}

void PropertyPage::Create(Controls& controls, PageHost& host) {
  controls_ = &controls;
  host_ = &host;
  firstActivation_ = true;
  InitControls();
  UpdateData(false);
}

void PropertyPage::Destroy() {
  controls_ = nullptr;
}

void PropertyPage::OnSetActive() {
  if (!IsCreated()) return;
  OnPageActivate();
  if (firstActivation_) {
    firstActivation_ = false;
  } else {
    UpdateData(false);
  }
}

bool PropertyPage::OnKillActive() {
  if (!IsCreated()) return true;
  return UpdateData(true);
}

void PropertyPage::OnImageOpened() {
  if (!IsCreated()) return;
  ++openLoads_;
  OnShownWithImage();
  LoadFromImage();
}

void PropertyPage::OnPageActivate() {
  RefreshFromImage();
}

void PropertyPage::RefreshFromImage() {
  if (!ImageLoaded()) {
    const unsigned loadsBefore = openLoads_;
    host_->OpenImage();
    // An Open that loaded an image has already loaded this page, the active one.
    if (openLoads_ != loadsBefore) return;
  }
  if (ImageLoaded()) {
    OnShownWithImage();
    LoadFromImage();
  }
}

bool PropertyPage::UpdateData(bool storing) {
  if (!IsCreated()) return false;
  DataExchange dx(*controls_, host_->prompts(), storing);
  ExchangeFields(dx);
  return !dx.Failed();
}

void PropertyPage::ShowError(const std::string& text) {
  host_->prompts().Message(text, "Error Message", Buttons::kOk, Icon::kNone);
}

}  // namespace ui
