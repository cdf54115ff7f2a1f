#include "qt_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "qt_toolkit.h"

namespace kalvena::qt {
namespace {

QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), std::ssize(utf8)); }

}  // namespace

std::optional<std::string> askFileName(QWidget* over, const ui::FileQuestion& question) {
  const QString extension = qs(question.extension);  // ".zma"
  QFileDialog dialog(over, qs(question.title), qs(question.suggested),
                     qs(question.kind) + QStringLiteral(" (*") + extension + QStringLiteral(");;") +
                         qs(ui::kAllFilesKind) + QStringLiteral(" (*)"));
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setAcceptMode(question.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(question.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // A name typed without the extension gets it; one typed with any other keeps its own.
  if (question.save) dialog.setDefaultSuffix(extension.mid(1));
  if (!question.suggested.empty()) dialog.selectFile(qs(question.suggested));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

ui::SaveAnswer askToSave(QWidget* over, std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Warning, qs(title), qs(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, over);
  box.setObjectName(QStringLiteral("AskToSave"));
  box.setFont(programFont());
  const QMessageBox::StandardButton buttons[] = {QMessageBox::Save, QMessageBox::Discard,
                                                 QMessageBox::Cancel};
  for (std::size_t i = 0; i < std::size(buttons); ++i) {
    box.button(buttons[i])->setText(QString::fromUtf8(ui::kSaveAnswerCaptions[i]));
  }
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return ui::SaveAnswer::Save;
    case QMessageBox::Discard:
      return ui::SaveAnswer::Discard;
    default:
      return ui::SaveAnswer::Cancel;
  }
}

}  // namespace kalvena::qt
