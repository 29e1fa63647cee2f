// SPDX-License-Identifier: MIT
#pragma once
// The window menu's own commands: Open... and About, after a separator, each
// only when the resources give it a caption.
class CMenu;

void AddOpenAndAbout(CMenu* systemMenu);
