// SPDX-License-Identifier: MIT
#include "framework/MessageBox.h"

#include <utility>

namespace {
MessageBoxPresenter& Presenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}
}  // namespace

int AfxMessageBox(const char* text, UINT type) {
    auto& presenter = Presenter();
    if (!presenter) return IDOK;
    return presenter(text ? text : "", type);
}

MessageBoxPresenter AfxSetMessageBoxPresenter(MessageBoxPresenter presenter) {
    return std::exchange(Presenter(), std::move(presenter));
}
