// Builds a project's tab content and wires its two panes together.
#include "gui/projectwindowcontroller.h"

#include "gui/stringsviewcontroller.h"
#include "gui/translationsviewcontroller.h"

#include <QFileInfo>

ProjectWindowController::ProjectWindowController() : m_splitter(new QSplitter(Qt::Horizontal))
{
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(6);
    m_splitter->addWidget(new StringsViewController);
    m_splitter->addWidget(new TranslationsViewController);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({900, 380});
}

ProjectWindowController::~ProjectWindowController() { delete m_splitter.data(); }

void ProjectWindowController::open()
{
    StringsViewController *strings = editor();
    TranslationsViewController *translations = panel();
    if (!translations)
        return;
    if (strings) {
        connect(strings, &StringsViewController::titleChanged, this,
                &ProjectWindowController::titleChanged);
        connect(strings, &StringsViewController::notice, this, &ProjectWindowController::notice);
        connect(strings, &StringsViewController::rowShown, translations, &TranslationsViewController::showItem);
        connect(strings, &StringsViewController::rowsCleared, translations,
                &TranslationsViewController::clearItem);
        connect(strings, &StringsViewController::rowChanged, translations,
                &TranslationsViewController::updateItem);
        connect(translations, &TranslationsViewController::translationEdited, strings,
                &StringsViewController::translationsChanged);
        strings->setProjectURL(m_projectURL);
        strings->loadProject();
    }
}

StringsViewController *ProjectWindowController::editor() const
{
    return m_splitter ? qobject_cast<StringsViewController *>(m_splitter->widget(0)) : nullptr;
}

TranslationsViewController *ProjectWindowController::panel() const
{
    return m_splitter ? qobject_cast<TranslationsViewController *>(m_splitter->widget(1))
                      : nullptr;
}

QString ProjectWindowController::tabTitle() const
{
    const QString name = QFileInfo(m_projectURL).fileName();
    return name.isEmpty() ? m_projectURL : name;
}
