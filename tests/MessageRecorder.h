// SPDX-License-Identifier: MIT
#pragma once
// Records message boxes instead of showing them, for as long as it lives.
#include <string>
#include <vector>

#include "framework/MessageBox.h"

class MessageRecorder {
public:
    struct Box {
        std::string text;
        UINT type;
    };
    MessageRecorder()
        : m_previous(AfxSetMessageBoxPresenter([this](const std::string& text, UINT type) {
              boxes.push_back({text, type});
              return IDOK;
          })) {}
    ~MessageRecorder() { AfxSetMessageBoxPresenter(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Box> boxes;

private:
    MessageBoxPresenter m_previous;
};
