#pragma once
#include "page_table.h"

#include <QStringList>

class QWidget;
class TEditorPage;
struct TEditorContext;

// Makes a page of kind Content (ed::PageTable) with its name set; nullptr for
// the other kinds, which the dialog makes itself or which come with their parent.
TEditorPage *MakeEditorPage(ed::Page page, TEditorContext &context, QWidget *parent);

// What is wrong between the page table and the page factories: a content page
// with no factory or with two, a factory for a page of another kind. Empty
// when each content page has exactly one; the dialog refuses to open otherwise.
QStringList PageFactoryFaults();
