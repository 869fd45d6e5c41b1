#pragma once
#include "editor_page.h"
#include "page_table.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTabWidget;
class TFieldBinder;
class TMK;
class TProtocolCatalog;

// The modal settings editor. Every control stores into the model the moment it
// is left, clicked or changed; the model's EditSettings decides what OK and
// Cancel keep. Its pages are those of ed::PageTable, made by MakeEditorPage;
// it refuses to open (a TripError) when the table and the page factories
// disagree.
class TMK_SetParamsDlg : public QDialog {
    Q_OBJECT
public:
    TMK_SetParamsDlg(TMK &model, TProtocolCatalog &catalog, QWidget *parent = nullptr);
    ~TMK_SetParamsDlg() override;

    TFieldBinder &binder() { return *m_binder; }
    TEditorContext &context() { return m_context; }

    // A page or sub-page: a TEditorPage, the frame of a page control, a part
    // of a page or the empty stand-in. By object name too ("tsCorr",
    // "tsColor", "tsAlerts"...); nullptr for a name no page has.
    QWidget *page(ed::Page page) const;
    QWidget *page(const QString &name) const;
    // Whether a page's tab is shown in its page control.
    bool pageShown(ed::Page page) const;
    bool pageShown(const QString &name) const;

    QTabWidget *pcMain = nullptr;
    // The sub-pages of tsDisp and tsVoice.
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
        const ed::PageInfo *info = nullptr;
        QWidget *widget = nullptr;
        TEditorPage *page = nullptr;
        QTabWidget *tabs = nullptr;    // the page control it is on
        QTabWidget *subTabs = nullptr; // the page control of its sub-pages
        QWidget *currentSub = nullptr; // the sub-page last made current there
    };

    void addPages(QTabWidget *tabs, std::optional<ed::Page> parent);
    void addParts(const Page &parent);
    const Page *find(ed::Page page) const;
    Page *find(ed::Page page);
    const Page *find(const QWidget *widget) const;
    void relabel();
    void fitSize();
    void FormShow();
    void pcMainChange(int index);
    void subPageChange(ed::Page parent, int index);
    void protocolChanged();
    void forEachPage(const std::function<void(TEditorPage &)> &run);

    TMK &m_model;
    TProtocolCatalog &m_catalog;
    TFieldBinder *m_binder;
    TEditorContext m_context;
    std::vector<Page> m_pages;
    QWidget *m_mainPage = nullptr; // the active page of pcMain, for left()
    bool m_shown = false;
};

// The editor as the callback of TMK::EditSettings: shows the dialog modally
// on the process-wide catalog and gives true when the user confirmed it.
// `report` shows refusals (a range error); a message box when empty.
std::function<bool(TMK &)> SettingsEditorDialog(QWidget *parent,
                                                std::function<void(QWidget *, const QString &)> report = {});
