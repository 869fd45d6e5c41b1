#pragma once
#include "editor_page.h"

#include <QDialog>
#include <functional>
#include <span>
#include <vector>

class QPushButton;
class QTabWidget;
class TFieldBinder;
class TMK;
class TProtocolCatalog;

// The modal settings editor. Every control stores into the model the moment it
// is left, clicked or changed; the model's EditSettings decides what OK and
// Cancel keep. Pages are made by name (MakeEditorPage); a page with no
// contents of its own is an empty stand-in under the same name.
class TMK_SetParamsDlg : public QDialog {
    Q_OBJECT
public:
    TMK_SetParamsDlg(TMK &model, TProtocolCatalog &catalog, QWidget *parent = nullptr);
    ~TMK_SetParamsDlg() override;

    TFieldBinder &binder() { return *m_binder; }
    TEditorContext &context() { return m_context; }

    // A page or sub-page by name ("tsCorr", "tsColor", "tsAlerts"...): a
    // TEditorPage, or the empty stand-in of a page with no contents yet.
    QWidget *page(const QString &name) const;
    // Whether a page's tab is shown in its page control.
    bool pageShown(const QString &name) const;

    QTabWidget *pcMain = nullptr;
    // The sub-pages of tsDisp and tsVoice (nullptr where a page of its own
    // keeps no such page control).
    QTabWidget *pcDisp = nullptr;
    QTabWidget *pcVoice = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Page {
        QString name;
        QWidget *widget = nullptr;
        TEditorPage *page = nullptr;
        QTabWidget *tabs = nullptr; // the page control it is on
    };

    // Adds page `name` to `tabs`; a page with sub-pages (tsDisp, tsVoice) gives
    // back its page control `subTabsName`, if it has one.
    QTabWidget *addPage(QTabWidget *tabs, const char *name, const char *subTabsName = nullptr,
                        std::span<const char *const> subPages = {});
    const Page *find(const QString &name) const;
    void relabel();
    void fitSize();
    void FormShow();
    void pcMainChange(int index);
    void subPageChange(QTabWidget *tabs, int index);
    void protocolChanged();
    void forEachPage(const std::function<void(TEditorPage &)> &run);

    TMK &m_model;
    TProtocolCatalog &m_catalog;
    TFieldBinder *m_binder;
    TEditorContext m_context;
    std::vector<Page> m_pages;
    QWidget *m_mainPage = nullptr; // the active page of pcMain, for Left()
    QWidget *m_dispPage = nullptr, *m_voicePage = nullptr;
    bool m_shown = false;
};

// The editor as the callback of TMK::EditSettings: shows the dialog modally
// on the process-wide catalog and gives true when the user confirmed it.
// `report` shows refusals (a range error); a message box when empty.
std::function<bool(TMK &)> SettingsEditorDialog(QWidget *parent,
                                                std::function<void(QWidget *, const QString &)> report = {});
