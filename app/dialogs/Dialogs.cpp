// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include <QCoreApplication>
#include <QPushButton>

#include <algorithm>

namespace {

MessagePresenter& Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}

void Present(const MessageBoxRequest& request)
{
    if (Presenter()) {
        Presenter()(request);
        return;
    }
    QMessageBox box(request.icon, request.title, request.text, QMessageBox::Ok);
    // OK both confirms and cancels, so Enter and Esc close the box alike.
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

}  // namespace

void SetMessagePresenter(MessagePresenter presenter)
{
    Presenter() = std::move(presenter);
}

void ShowErrorBox(const QString& message)
{
    Present({QStringLiteral("Error"), QMessageBox::Critical, message});
}

void ReportFault(const std::exception& fault)
{
    ShowFaultBox(QString::fromUtf8(fault.what()) + u'.');
}

void ShowFaultBox(const QString& text)
{
    const QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    Present({ApplicationTitle(path), QMessageBox::Critical, text});
}

namespace {

UnsavedQuestion& Question()
{
    static UnsavedQuestion question;
    return question;
}

}  // namespace

void SetUnsavedQuestion(UnsavedQuestion question)
{
    Question() = std::move(question);
}

UnsavedChoice AskSaveLesson()
{
    if (Question())
        return Question()();
    const QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    QMessageBox box(QMessageBox::Question, ApplicationTitle(path), QStringLiteral("Uložit lekci?"));
    QPushButton* save = box.addButton(QStringLiteral("Uložit"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Zahodit"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Zrušit"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedChoice::Save;
    if (box.clickedButton() == discard)
        return UnsavedChoice::Discard;
    return UnsavedChoice::Cancel;
}

QString ApplicationTitle(const QString& programPath)
{
    // Either separator counts, so a Windows path reads the same everywhere.
    const qsizetype folderEnd = std::max(programPath.lastIndexOf(u'/'), programPath.lastIndexOf(u'\\'));
    QString name = programPath.mid(folderEnd + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}
