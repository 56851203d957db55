// The modal choosers, alerts and progress dialogs the windows need, behind one
// interface so tests can answer them without a user.
#pragma once

#include <QString>
#include <optional>

class QProgressDialog;
class QWidget;

// One question with a one-line answer: the two settings dialogs.
struct SingleFieldRequest
{
    QString title;
    QString informativeText;
    QString placeholder;
    QString initialText;
    QString okButton;
    QString cancelButton;
};

class UserPrompts
{
public:
    virtual ~UserPrompts() = default;

    // A folder, or nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(const QString &title) = 0;
    // A file path ending in ".<suffix>", or nothing when the user cancels.
    virtual std::optional<QString> chooseSaveFile(const QString &title, const QString &suffix) = 0;
    // An informational alert with one button; returns once it is dismissed.
    virtual void showWarning(const QString &title, const QString &text, const QString &button) = 0;
    // A warning with two buttons: true for `proceed`, false for `back` (the
    // default, also when the alert is closed).
    virtual bool askToProceed(const QString &title, const QString &text, const QString &proceed,
                              const QString &back) = 0;
    // The field's text on "OK", nothing on "Cancel".
    virtual std::optional<QString> askSingleField(const SingleFieldRequest &request) = 0;
    // An application-modal progress dialog with a Cancel button, owned by the
    // caller; it is shown at once.
    virtual QProgressDialog *createProgress(const QString &label, int maximum) = 0;
};
