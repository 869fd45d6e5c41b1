#include "setparamsdlg.h"

#include "editor_pages.h"
#include "field_binder.h"
#include "field_schema.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The designed client size; larger fonts may need more, never less.
constexpr QSize kClientSize(1021, 599);

const char *const kMainPages[] = {"tsCorr", "tsMeth", "tsLim", "tsDisp",   "tsVoice",   "tsAver",
                                  "tsPark", "tsOil",  "tsTO",  "tsBlocks", "tsUniMeas", "tsServiceInfo"};
const char *const kDispPages[] = {"tsColor",   "tsParams1", "tsParams4", "tsParams9",   "tsParams6",
                                  "tsParamsG", "tsParamsA", "tsHotMenu", "tsInfoPanel", "tsDivers"};
const char *const kVoicePages[] = {"tsAlerts", "tsSounds"};

QTabWidget *makeTabs(const char *name, QWidget *parent)
{
    auto *tabs = new QTabWidget(parent);
    tabs->setObjectName(QLatin1String(name));
    tabs->setUsesScrollButtons(true); // Russian captions of ten sub-pages are wide
    return tabs;
}

} // namespace

TMK_SetParamsDlg::TMK_SetParamsDlg(TMK &model, TProtocolCatalog &catalog, QWidget *parent)
    : QDialog(parent), m_model(model), m_catalog(catalog), m_binder(new TFieldBinder(model, catalog, this)),
      m_context{model, catalog, *m_binder}
{
    setObjectName(QStringLiteral("TMK_SetParamsDlg"));
    setModal(true);

    pcMain = makeTabs("pcMain", this);
    for (const char *name : kMainPages) {
        if (qstrcmp(name, "tsDisp") == 0)
            pcDisp = addPage(pcMain, name, "pcDisp", kDispPages);
        else if (qstrcmp(name, "tsVoice") == 0)
            pcVoice = addPage(pcMain, name, "pcVoice", kVoicePages);
        else
            addPage(pcMain, name);
    }

    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton *b : {OKBtn, CancelBtn})
        b->setMinimumWidth(88);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMK_SetParamsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pcMain, 1);
    layout->addWidget(buttons);

    connect(pcMain, &QTabWidget::currentChanged, this, &TMK_SetParamsDlg::pcMainChange);
    for (QTabWidget *tabs : {pcDisp, pcVoice})
        if (tabs)
            connect(tabs, &QTabWidget::currentChanged, this, [this, tabs](int i) { subPageChange(tabs, i); });
    connect(m_binder, &TFieldBinder::protocolChanged, this, &TMK_SetParamsDlg::protocolChanged);

    relabel();
    fitSize();
    // Controls shown by a store can need more room than the designed size
    // (with large fonts): the dialog grows rather than cut them off.
    connect(m_binder, &TFieldBinder::refreshed, this, &TMK_SetParamsDlg::fitSize);
}

void TMK_SetParamsDlg::fitSize()
{
    const QSize size = kClientSize.expandedTo(minimumSizeHint());
    if (size != this->size() || minimumSize() != maximumSize())
        setFixedSize(size);
}

TMK_SetParamsDlg::~TMK_SetParamsDlg() = default;

QTabWidget *TMK_SetParamsDlg::addPage(QTabWidget *tabs, const char *name, const char *subTabsName,
                                      std::span<const char *const> subPages)
{
    Page p;
    p.name = QLatin1String(name);
    p.tabs = tabs;
    p.page = MakeEditorPage(name, m_context, nullptr);
    QTabWidget *subTabs = nullptr;
    if (p.page) {
        // A page of its own brings its sub-pages along.
        p.widget = p.page;
        if (subTabsName)
            subTabs = p.page->findChild<QTabWidget *>(QLatin1String(subTabsName));
    } else if (subTabsName) {
        // Otherwise the page is a frame around a page control of its sub-pages.
        p.widget = new QWidget;
        auto *frame = new QVBoxLayout(p.widget);
        frame->setContentsMargins(0, 0, 0, 0);
        subTabs = makeTabs(subTabsName, p.widget);
        frame->addWidget(subTabs);
        for (const char *sub : subPages)
            addPage(subTabs, sub);
    } else {
        p.widget = new QWidget;
    }
    p.widget->setObjectName(p.name);
    tabs->addTab(p.widget, QString());
    m_pages.push_back(p);
    return subTabs;
}

const TMK_SetParamsDlg::Page *TMK_SetParamsDlg::find(const QString &name) const
{
    for (const Page &p : m_pages)
        if (p.name == name)
            return &p;
    return nullptr;
}

QWidget *TMK_SetParamsDlg::page(const QString &name) const
{
    const Page *p = find(name);
    return p ? p->widget : nullptr;
}

bool TMK_SetParamsDlg::pageShown(const QString &name) const
{
    const Page *p = find(name);
    return p && p->tabs->isTabVisible(p->tabs->indexOf(p->widget));
}

void TMK_SetParamsDlg::forEachPage(const std::function<void(TEditorPage &)> &run)
{
    for (const Page &p : m_pages)
        if (p.page)
            run(*p.page);
}

void TMK_SetParamsDlg::relabel()
{
    setWindowTitle(LangText("Device settings", "Настройки МК"));
    CancelBtn->setText(LangText("Cancel", "Отмена"));
    for (const Page &p : m_pages)
        p.tabs->setTabText(p.tabs->indexOf(p.widget), ed::PageCaption(p.name.toLatin1().constData()));
}

void TMK_SetParamsDlg::FormShow()
{
    // 1. Captions in the program's language (the bound controls take theirs
    // from the schema whenever they are refreshed).
    relabel();
    // 2. Pages by the device's capabilities.
    auto show = [this](const char *name, bool shown) {
        if (const Page *p = find(QLatin1String(name)))
            p->tabs->setTabVisible(p->tabs->indexOf(p->widget), shown);
    };
    show("tsPark", !m_catalog.has(Cap::NoParkingRadar));
    show("tsUniMeas", m_catalog.has(Cap::UniversalInput) || m_catalog.has(Cap::Trim));
    show("tsBlocks", m_catalog.has(Cap::AdditionalSystems));
    // 4. The first pages active (before loading, so that no page is entered twice).
    for (QTabWidget *tabs : {pcMain, pcDisp, pcVoice}) {
        if (!tabs)
            continue;
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(0);
    }
    m_mainPage = pcMain->currentWidget();
    m_dispPage = pcDisp ? pcDisp->currentWidget() : nullptr;
    m_voicePage = pcVoice ? pcVoice->currentWidget() : nullptr;
    // 5. Every page loads what it shows from the model.
    m_context.tareEdited = false;
    forEachPage([](TEditorPage &p) { p.Load(); });
    // 7. The service information is filled but never shown.
    show("tsServiceInfo", false);
    // 8. The colour scheme being edited starts as the model's active one.
    m_context.editedScheme = m_model.ActiveScheme;
    // 9. Everything that follows the protocol, the sources and the tank type.
    m_binder->refresh();
    // 11. Parameter names that depend on the settings.
    ed::RenameParameters(m_model, m_catalog);
    // 12. Back to the day scheme; the default schemes follow the device.
    m_context.editedScheme = 0;
    m_model.SetDefaultColours();
    m_context.systemsPageActive = m_mainPage == page(QStringLiteral("tsBlocks"));
}

void TMK_SetParamsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
    if (const QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TMK_SetParamsDlg::accept()
{
    // OK by the Enter key leaves no control: what the focused one shows is
    // stored first, and a refusal keeps the dialog open.
    if (m_binder->commitEditing(focusWidget()))
        QDialog::accept();
}

void TMK_SetParamsDlg::pcMainChange(int index)
{
    QWidget *entered = pcMain->widget(index);
    auto subPageOf = [this](QWidget *mainPage) -> QWidget * {
        if (pcDisp && mainPage == page(QStringLiteral("tsDisp")))
            return pcDisp->currentWidget();
        if (pcVoice && mainPage == page(QStringLiteral("tsVoice")))
            return pcVoice->currentWidget();
        return nullptr;
    };
    for (QWidget *w : {subPageOf(m_mainPage), m_mainPage})
        if (auto *p = qobject_cast<TEditorPage *>(w))
            p->Left();
    m_mainPage = entered;
    m_context.systemsPageActive = entered && entered == page(QStringLiteral("tsBlocks"));
    for (QWidget *w : {entered, subPageOf(entered)})
        if (auto *p = qobject_cast<TEditorPage *>(w))
            p->Entered();
}

void TMK_SetParamsDlg::subPageChange(QTabWidget *tabs, int index)
{
    QWidget *&current = tabs == pcDisp ? m_dispPage : m_voicePage;
    // Only the sub-pages of the active page are entered and left.
    const bool active = m_mainPage && m_mainPage->isAncestorOf(tabs);
    if (auto *p = qobject_cast<TEditorPage *>(current); p && active)
        p->Left();
    current = tabs->widget(index);
    if (auto *p = qobject_cast<TEditorPage *>(current); p && active)
        p->Entered();
}

void TMK_SetParamsDlg::protocolChanged()
{
    forEachPage([](TEditorPage &p) { p.ProtocolChanged(); });
    m_binder->refresh();
}

std::function<bool(TMK &)> SettingsEditorDialog(QWidget *parent, std::function<void(QWidget *, const QString &)> report)
{
    return [parent, report](TMK &model) {
        TMK_SetParamsDlg dialog(model, Catalog(), parent);
        if (report)
            dialog.binder().setErrorReporter([&dialog, report](const QString &text) { report(&dialog, text); });
        return dialog.exec() == QDialog::Accepted;
    };
}
