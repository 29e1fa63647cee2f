// SPDX-License-Identifier: MIT
#pragma once
// Settings > Pack folders...: the folders of the user's own packs, searched
// before $CMSIS_PACK_ROOT and the tools' folders, in the order listed. Add...
// asks for a folder, Remove drops the one in hand; OK keeps the list, Cancel
// leaves it as it was. Shown without blocking: OK comes as accepted().
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QListWidget;
class QPushButton;

class CPackFoldersDlg : public QDialog {
public:
    CPackFoldersDlg(const QStringList& folders, QWidget* parent = nullptr);

    // The folders listed now, in order, with '/' between their parts.
    QStringList Folders() const;

    QListWidget* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }

    // Chooses the folder Add... adds in place of Qt's folder dialog (an empty
    // text for Cancel); tests install their own. Returns the one it replaces.
    using FolderAsker = std::function<QString(QWidget* parent, const QString& start)>;
    static FolderAsker SetFolderAsker(FolderAsker asker);

private:
    void AddFolder();
    void RemoveFolder();
    void Follow();

    QListWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_remove;
};
