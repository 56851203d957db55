// Qt dialogs for the prompts interface; each is parented to the active window
// so it opens over the window the user works in.
#include "gui/qtuserprompts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QWidget *dialogParent() { return QApplication::activeWindow(); }
} // namespace

std::optional<QString> QtUserPrompts::chooseFolder(const QString &title)
{
    QFileDialog dialog(dialogParent(), title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    dialog.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    return chosen.first();
}

std::optional<QString> QtUserPrompts::chooseSaveFile(const QString &title, const QString &suffix)
{
    QFileDialog dialog(dialogParent(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setNameFilter(QStringLiteral("*.%1").arg(suffix));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    QString path = chosen.first();
    if (!path.endsWith(QLatin1Char('.') + suffix))
        path += QLatin1Char('.') + suffix;
    return path;
}

void QtUserPrompts::showWarning(const QString &title, const QString &text, const QString &button)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, dialogParent());
    box.addButton(button, QMessageBox::AcceptRole);
    box.exec();
}

bool QtUserPrompts::askToProceed(const QString &title, const QString &text, const QString &proceed,
                                 const QString &back)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, dialogParent());
    QPushButton *yes = box.addButton(proceed, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(back, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtUserPrompts::askSingleField(const SingleFieldRequest &request)
{
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(request.title);
    dialog.setMinimumWidth(460);
    auto *icon = new QLabel;
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(request.title.toHtmlEscaped()));
    auto *text = new QLabel(request.informativeText);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto *field = new QLineEdit(request.initialText);
    field->setPlaceholderText(request.placeholder);
    field->setMinimumSize(320, 24);
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(request.okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(request.cancelButton, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *content = new QVBoxLayout;
    content->setSpacing(8);
    content->addWidget(title);
    content->addWidget(text);
    content->addWidget(field);
    auto *body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(icon);
    body->addLayout(content, 1);
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(body);
    layout->addWidget(buttons);
    // The settings dialogs come to the front, ahead of every other window.
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

QProgressDialog *QtUserPrompts::createProgress(const QString &label, int maximum)
{
    auto *dialog = new QProgressDialog(label, QApplication::translate("UserPrompts", "Cancel"), 0,
                                       maximum, dialogParent());
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setValue(0);
    dialog->show();
    return dialog;
}
