#include "setparamsdlg.h"

#include "editor_pages.h"
#include "errors.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

// The designed client size; larger fonts may need more, never less.
constexpr QSize kClientSize(1021, 599);

QTabWidget *makeTabs(const char *name, QWidget *parent)
{
    auto *tabs = new QTabWidget(parent);
    tabs->setObjectName(QLatin1String(name));
    tabs->setUsesScrollButtons(true); // Russian captions of ten sub-pages are wide
    return tabs;
}

} // namespace

TMK_SetParamsDlg::TMK_SetParamsDlg(TMK &model, TProtocolCatalog &catalog, QWidget *parent)
    : QDialog(parent), m_model(model), m_catalog(catalog),
      m_binder(new TFieldBinder(model, catalog, this)), m_context{model, catalog, *m_binder}
{
    // A page without its factory would be a blank page that nobody notices.
    if (const QStringList faults = PageFactoryFaults(); !faults.isEmpty())
        throw TripError(
            QStringLiteral("The settings editor cannot be built: %1").arg(faults.join(QStringLiteral("; "))));
    setObjectName(QStringLiteral("TMK_SetParamsDlg"));
    setModal(true);

    pcMain = makeTabs("pcMain", this);
    addPages(pcMain, std::nullopt);
    pcDisp = find(ed::Page::Display)->subTabs;
    pcVoice = find(ed::Page::Sounds)->subTabs;

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
    for (const Page &p : m_pages)
        if (p.subTabs)
            connect(p.subTabs, &QTabWidget::currentChanged, this,
                    [this, id = p.info->id](int i) { subPageChange(id, i); });
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

void TMK_SetParamsDlg::addPages(QTabWidget *tabs, std::optional<ed::Page> parent)
{
    for (const ed::PageInfo *info : ed::SubPages(parent)) {
        const QString name = QLatin1String(info->objectName);
        Page p;
        p.info = info;
        p.tabs = tabs;
        switch (info->kind) {
        case ed::PageKind::Content:
            p.page = MakeEditorPage(info->id, m_context, nullptr);
            p.widget = p.page;
            if (info->subTabs)
                p.subTabs = p.page->findChild<QTabWidget *>(QLatin1String(info->subTabs));
            break;
        case ed::PageKind::Frame: {
            p.widget = new QWidget;
            auto *frame = new QVBoxLayout(p.widget);
            frame->setContentsMargins(0, 0, 0, 0);
            p.subTabs = makeTabs(info->subTabs, p.widget);
            frame->addWidget(p.subTabs);
            break;
        }
        case ed::PageKind::Part: // made with its parent
            continue;
        case ed::PageKind::Blank: p.widget = new QWidget; break;
        }
        if (info->subTabs && !p.subTabs)
            throw TripError(QStringLiteral("%1 has no page control %2").arg(name, QLatin1String(info->subTabs)));
        p.widget->setObjectName(name);
        tabs->addTab(p.widget, QString());
        m_pages.push_back(p);
        if (info->kind == ed::PageKind::Frame)
            addPages(p.subTabs, info->id);
        else if (p.subTabs)
            addParts(p);
    }
}

// The sub-pages a page made itself are found where the table puts them.
void TMK_SetParamsDlg::addParts(const Page &parent)
{
    const std::vector<const ed::PageInfo *> parts = ed::SubPages(parent.info->id);
    for (size_t i = 0; i < parts.size(); ++i) {
        QWidget *w = parent.subTabs->widget(static_cast<int>(i));
        if (!w || w->objectName() != QLatin1String(parts[i]->objectName))
            throw TripError(QStringLiteral("%1 holds no sub-page %2 at tab %3")
                                .arg(QLatin1String(parent.info->objectName), QLatin1String(parts[i]->objectName))
                                .arg(i));
        m_pages.push_back({parts[i], w, nullptr, parent.subTabs});
    }
    if (parent.subTabs->count() != static_cast<int>(parts.size()))
        throw TripError(QStringLiteral("%1 holds sub-pages the page table does not list")
                            .arg(QLatin1String(parent.info->objectName)));
}

const TMK_SetParamsDlg::Page *TMK_SetParamsDlg::find(ed::Page page) const
{
    for (const Page &p : m_pages)
        if (p.info->id == page)
            return &p;
    return nullptr;
}

TMK_SetParamsDlg::Page *TMK_SetParamsDlg::find(ed::Page page)
{
    return const_cast<Page *>(std::as_const(*this).find(page));
}

const TMK_SetParamsDlg::Page *TMK_SetParamsDlg::find(const QWidget *widget) const
{
    for (const Page &p : m_pages)
        if (widget && p.widget == widget)
            return &p;
    return nullptr;
}

QWidget *TMK_SetParamsDlg::page(ed::Page page) const
{
    const Page *p = find(page);
    return p ? p->widget : nullptr;
}

QWidget *TMK_SetParamsDlg::page(const QString &name) const
{
    const ed::PageInfo *info = ed::FindPage(name);
    return info ? page(info->id) : nullptr;
}

bool TMK_SetParamsDlg::pageShown(ed::Page page) const
{
    const Page *p = find(page);
    return p && p->tabs->isTabVisible(p->tabs->indexOf(p->widget));
}

bool TMK_SetParamsDlg::pageShown(const QString &name) const
{
    const ed::PageInfo *info = ed::FindPage(name);
    return info && pageShown(info->id);
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
        p.tabs->setTabText(p.tabs->indexOf(p.widget), p.info->caption.get());
}

void TMK_SetParamsDlg::FormShow()
{
    // 1. Captions in the program's language (the bound controls take theirs
    // from the schema whenever they are refreshed).
    relabel();
    // 2. Pages by the device's capabilities; those never shown are hidden
    // after loading, at 7.
    auto show = [](const Page &p, bool shown) { p.tabs->setTabVisible(p.tabs->indexOf(p.widget), shown); };
    for (const Page &p : m_pages)
        if (p.info->shown != ed::TabShown::Never)
            show(p, ed::PageShown(p.info->id, m_catalog.capabilities()));
    // 4. The first pages active (before loading, so that no page is entered twice).
    for (Page &p : m_pages) {
        if (!p.subTabs)
            continue;
        const QSignalBlocker block(p.subTabs);
        p.subTabs->setCurrentIndex(0);
        p.currentSub = p.subTabs->currentWidget();
    }
    {
        const QSignalBlocker block(pcMain);
        pcMain->setCurrentIndex(0);
    }
    m_mainPage = pcMain->currentWidget();
    // 5. Every page loads what it shows from the model.
    m_context.tareEdited = false;
    forEachPage([](TEditorPage &p) { p.load(); });
    // 7. The service information is filled but never shown.
    for (const Page &p : m_pages)
        if (p.info->shown == ed::TabShown::Never)
            show(p, false);
    // 8. The colour scheme being edited starts as the model's active one.
    m_context.editedScheme = m_model.ActiveScheme;
    // 9. Everything that follows the protocol, the sources and the tank type.
    m_binder->refresh();
    // 11. Parameter names that depend on the settings.
    ed::RenameParameters(m_model, m_catalog);
    // 12. Back to the day scheme; the default schemes follow the device.
    m_context.editedScheme = 0;
    m_model.SetDefaultColours();
    m_context.systemsPageActive = m_mainPage == page(ed::Page::AdditionalSystems);
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
        const Page *p = find(mainPage);
        return p && p->subTabs ? p->subTabs->currentWidget() : nullptr;
    };
    for (QWidget *w : {subPageOf(m_mainPage), m_mainPage})
        if (auto *p = qobject_cast<TEditorPage *>(w))
            p->left();
    m_mainPage = entered;
    m_context.systemsPageActive = entered && entered == page(ed::Page::AdditionalSystems);
    for (QWidget *w : {entered, subPageOf(entered)})
        if (auto *p = qobject_cast<TEditorPage *>(w))
            p->entered();
}

void TMK_SetParamsDlg::subPageChange(ed::Page parent, int index)
{
    Page *p = find(parent);
    // Only the sub-pages of the active page are entered and left.
    const bool active = m_mainPage && m_mainPage->isAncestorOf(p->subTabs);
    if (auto *left = qobject_cast<TEditorPage *>(p->currentSub); left && active)
        left->left();
    p->currentSub = p->subTabs->widget(index);
    if (auto *entered = qobject_cast<TEditorPage *>(p->currentSub); entered && active)
        entered->entered();
}

void TMK_SetParamsDlg::protocolChanged()
{
    forEachPage([](TEditorPage &p) { p.protocolChanged(); });
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
