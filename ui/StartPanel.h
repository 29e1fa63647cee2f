// SPDX-License-Identifier: MIT
#pragma once
// What the tree's area shows while no register map is open: how to open one
// (Open..., Ctrl+O, or a file dropped on the window) and the maps opened
// recently, one of which Enter or a click opens.
#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QListWidget;

class CStartPanel : public QWidget {
    Q_OBJECT
public:
    explicit CStartPanel(QWidget* parent = nullptr);

    void SetRecentMaps(const std::vector<std::string>& paths);
    QLabel* Hint() const { return m_hint; }
    QListWidget* Recent() const { return m_recent; }

signals:
    void openRequested(const QString& path);

private:
    QLabel* m_hint;
    QLabel* m_recentTitle;
    QListWidget* m_recent;
    bool m_bOpening = false;
};
