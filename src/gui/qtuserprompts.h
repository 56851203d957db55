// The real choosers and alerts: Qt's file dialogs and message boxes.
#pragma once

#include "gui/userprompts.h"

class QtUserPrompts : public UserPrompts
{
public:
    std::optional<QString> chooseFolder(const QString &title) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suffix) override;
    void showWarning(const QString &title, const QString &text, const QString &button) override;
    bool askToProceed(const QString &title, const QString &text, const QString &proceed,
                      const QString &back) override;
    std::optional<QString> askSingleField(const SingleFieldRequest &request) override;
    QProgressDialog *createProgress(const QString &label, int maximum) override;
};
