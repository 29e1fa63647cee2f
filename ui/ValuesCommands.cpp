// SPDX-License-Identifier: MIT
#include "ui/ValuesCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <fstream>
#include <vector>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValuesInput.h"
#include "defs/DefinitionsLoader.h"
#include "platform/FilePaths.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "defs/SvdNumbers.h"
#include "framework/FileDialog.h"
#include "framework/InputBox.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "problem/ProblemList.h"
#include "tree/PropTreeView.h"
#include "ui/AppSettings.h"
#include "values/ValuesFileWriter.h"
#include "values/ValuesProblems.h"

namespace {

constexpr const char* kValuesFileFilter = "Values files (*.txt *.log *.bin);;All files (*)";
// How many problems and notes a values box lists before "and N more".
constexpr std::size_t kValuesLinesShown = 8;

// Ctrl+V in a one-line box of the window (the hex box, where the keyboard
// starts) with a text of several lines on the clipboard pastes values, as
// in the tree: a copied terminal session in the hex box is no number.
class WholeTextPaste : public QObject {
public:
    WholeTextPaste(QObject* parent, QAction* paste) : QObject(parent), m_paste(paste) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
        if (!QGuiApplication::clipboard()->text().contains(u'\n')) return false;
        // Taken over from the box; the key press that follows runs the command.
        event->accept();
        if (event->type() == QEvent::KeyPress && m_paste->isEnabled()) m_paste->trigger();
        return true;
    }

private:
    QAction* m_paste;
};

std::string FileNameOf(const std::string& path) { return Utf8FileName(path); }

// One box after values came in, only when there is something to tell:
// problems, values on no register, registers only partly given.
void TellValues(const std::string& name, const ValuesInputReport& report, const char* what) {
    if (report.problems.Empty() && report.notes.empty()) return;
    const std::size_t count = report.given.size();
    std::string text = std::to_string(count) + (count == 1 ? " register " : " registers ") + what + " " + name + ".";
    std::vector<std::string> lines = ValuesProblemLines(report.problems);
    lines.insert(lines.end(), report.notes.begin(), report.notes.end());
    for (const std::string& line : FirstLinesAndMore(lines, kValuesLinesShown)) text += "\n" + line;
    AfxMessageBox(text.c_str(), MB_OK | (report.problems.Empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace

CValuesCommands::CValuesCommands(CRegisterMap& map, CRegisterCalculator& calc, std::function<void()> changed)
    : m_map(map), m_calc(calc), m_changed(std::move(changed)) {}

void CValuesCommands::Attach(CPropTreeWindow& window, CWnd* owner, CAppSettings* settings) {
    m_window = &window;
    m_owner = owner;
    m_settings = settings;
    m_pasteAction =
        window.AddRowCommand(QObject::tr("&Paste values"), QKeySequence::Paste, true, [this] { PasteValues(); });
    m_openAction = window.AddRowCommand(QObject::tr("Open &values..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                                        false, [this] { OpenValues(); });
    m_saveAction =
        window.AddRowCommand(QObject::tr("&Save values..."), QKeySequence::Save, false, [this] { SaveValues(); });
    m_compareAction = window.AddRowCommand(QObject::tr("Co&mpare with values..."),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), false,
                                           [this] { CompareValues(); });
    if (owner != nullptr && owner->m_hWnd != nullptr) {
        auto* paste = new WholeTextPaste(owner->m_hWnd, m_pasteAction);
        for (QLineEdit* box : owner->m_hWnd->findChildren<QLineEdit*>()) box->installEventFilter(paste);
    }
}

std::optional<std::string> CValuesCommands::ChooseValuesFile(bool save) {
    CFileDialog dlg(kValuesFileFilter, m_owner, save);
    if (m_settings) dlg.SetInitialFolder(m_settings->LastValuesFolder());
    if (dlg.DoModal() != IDOK) return std::nullopt;
    const std::string path = dlg.GetPathName().str();
    if (m_settings) m_settings->SetLastValuesFolder(Utf8ParentFolder(path));
    return path;
}

void CValuesCommands::OpenValues() {
    if (const auto path = ChooseValuesFile(false)) OpenValuesFile(*path, false);
}

void CValuesCommands::CompareValues() {
    if (const auto path = ChooseValuesFile(false)) OpenValuesFile(*path, true);
}

void CValuesCommands::SaveValues() {
    const auto path = ChooseValuesFile(true);
    if (path && !SaveValuesFile(*path)) AfxMessageBox(("Cannot write " + *path).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CValuesCommands::PasteValues() {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    if (!text.empty()) ApplyValues(text, "the pasted text");
}

bool CValuesCommands::TakeDroppedFile(const std::string& path) {
    if (m_map.Registers().empty()) return false;
    const auto bytes = ReadValuesFile(path);
    if (!bytes || IsSvdText(bytes.Value()) || IsDefinitionsText(bytes.Value())) return false;
    ApplyValues(bytes.Value(), FileNameOf(path));
    return true;
}

void CValuesCommands::OpenValuesFile(const std::string& path, bool asBaseline) {
    const auto bytes = ReadValuesFile(path);
    if (!bytes) {
        AfxMessageBox(("Cannot read " + path).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!asBaseline) {
        ApplyValues(bytes.Value(), FileNameOf(path));
        return;
    }
    const ValuesInputReport report = ReadValuesFor(m_map, bytes.Value());
    m_map.ClearBaselines();
    for (std::size_t i = 0; i < report.given.size(); ++i) m_map.SetBaseline(*report.given[i], report.values[i]);
    m_map.Tree().RefreshItems(nullptr);
    m_changed();
    TellValues(FileNameOf(path), report, "compared with");
}

void CValuesCommands::ApplyValues(const std::string& bytes, const std::string& name) {
    ValuesInputReport report;
    if (IsValuesText(bytes)) {
        report = ApplyValuesText(m_map, m_calc, bytes, ValueSource::ValuesFile);
    } else {
        const auto answer = AfxInputBox(name + " is a memory image. The address of its first byte:", "0x00000000");
        if (!answer) return;
        const auto base = ParseSvdNumber(*answer);
        if (!base) {
            AfxMessageBox(("\"" + *answer + "\" is not an address").c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        report = ApplyMemoryImage(m_map, m_calc, bytes, *base, ValueSource::ValuesFile);
    }
    m_changed();
    if (m_window && !report.given.empty()) m_window->SelectRow(report.given.front());
    TellValues(name, report, "given values from");
}

bool CValuesCommands::SaveValuesFile(const std::string& path) const {
    ValuesFileWriter writer(m_mapName);
    for (const CRegisterItem* reg : m_map.Registers()) {
        const auto held = m_map.ValueOf(*reg);
        const std::uint64_t value = held ? held->value : m_calc.ComposeRegister(*reg);
        writer.Add(RegisterPath(*reg), FormatRegisterHex(value, reg->m_nBits));
    }
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out << writer.Text();
    out.close();
    return static_cast<bool>(out);
}
