// Scripted answers for the choosers and alerts, and a record of what was asked.
#pragma once

#include "gui/userprompts.h"

#include <QList>
#include <QProgressDialog>
#include <QStringList>

class FakePrompts : public UserPrompts
{
public:
    // Answers, taken from the front; an empty queue answers "Cancel".
    QList<std::optional<QString>> folderAnswers;
    QList<std::optional<QString>> saveAnswers;
    QList<std::optional<QString>> fieldAnswers;

    QStringList saveTitles;
    QList<QStringList> warnings; // title, text, button
    QList<SingleFieldRequest> fieldRequests;
    QList<bool> proceedAnswers; // an empty queue answers "back"
    QStringList questions;
    int progressDialogs = 0;

    std::optional<QString> chooseFolder(const QString &) override
    {
        return folderAnswers.isEmpty() ? std::nullopt : folderAnswers.takeFirst();
    }
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suffix) override
    {
        saveTitles << title + QLatin1Char('|') + suffix;
        return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
    }
    void showWarning(const QString &title, const QString &text, const QString &button) override
    {
        warnings << QStringList{title, text, button};
    }
    bool askToProceed(const QString &title, const QString &text, const QString &, const QString &) override
    {
        questions << title + QLatin1Char('|') + text;
        return !proceedAnswers.isEmpty() && proceedAnswers.takeFirst();
    }
    std::optional<QString> askSingleField(const SingleFieldRequest &request) override
    {
        fieldRequests << request;
        return fieldAnswers.isEmpty() ? std::nullopt : fieldAnswers.takeFirst();
    }
    QProgressDialog *createProgress(const QString &label, int maximum) override
    {
        ++progressDialogs;
        auto *dialog = new QProgressDialog(label, QStringLiteral("Cancel"), 0, maximum);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        return dialog;
    }
};
