// SPDX-License-Identifier: MIT
#pragma once
// The editor of a drop-down row: a combo box whose list opens at once. Its
// list closing without a choice (Escape, or a click elsewhere) ends the edit,
// so no later key can choose an entry the user did not pick.
#include <QComboBox>

class CPropTreeDropDown : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;
    // Marks the edit as chosen, so that the list closing does not cancel it.
    void SetChosen() { m_bChosen = true; }

signals:
    // The list closed and no entry was chosen.
    void cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bChosen = false;
    bool m_bWatching = false;
};
