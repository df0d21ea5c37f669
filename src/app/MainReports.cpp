#include "app/MainReports.h"

#include "app/MainUnit.h"
#include "editor/TFormReport.h"
#include "editor/remain.h"
#include "refdata/DatabaseError.h"
#include "refdata/ReferenceData.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"
#include "richtext/EditorDocument.h"
#include "ui/Dialogs.h"

MainReports::MainReports(TFormMain &main, TFormEditor &editor, TFormReport &report)
    : m_main(main), m_editor(editor), m_report(report)
{
}

void MainReports::setTitle(const QString &title)
{
    // Taken on when the report is built, not when the user keeps the
    // document the editor holds.
    m_title = title;
}

void MainReports::build(const char *templateName, const std::function<void(TemplateFiller &)> &fill)
{
    // Changes the user made to the document are not lost without a question.
    if (!m_editor.confirmReplace())
        return;
    if (!m_title.isNull())
        m_report.setTitle(m_title);
    m_editor.FileNew();
    EditorDocument &document = m_editor.document();
    const DocumentFile::Result loaded =
        document.LoadDocumentFile(ReportTemplates::path(QString::fromLatin1(templateName)));
    if (!loaded.ok) {
        if (EditorDocument::couldNotOpen(loaded))
            Dialogs::instance().message(&m_main, ReportTemplates::cannotOpenText());
        else
            Dialogs::instance().generalError(&m_main, loaded.message);
        return;
    }
    try {
        TemplateFiller filler(*document.textDocument());
        fill(filler);
    } catch (const DatabaseError &error) {
        // The names come from the database; when it cannot be opened the
        // report ends here and the editor is not shown.
        Dialogs::instance().generalError(&m_main, error.message());
        return;
    }
    // Undo starts from the report as built.
    m_editor.markBuiltDocument();
    m_editor.ShowEditor();
}

void MainReports::reportHydraulic()
{
    build(HydraulicReport::TemplateName,
          [this](TemplateFiller &filler) { HydraulicReport::fill(filler, m_main.vars()); });
}

void MainReports::reportStatic()
{
    build(StaticReport::TemplateName, [this](TemplateFiller &filler) {
        ReferenceData &refs = m_main.referenceData();
        StaticReport::fill(
            filler, m_main.vars(), [&refs](std::int32_t id) { return refs.SoilNameById(id); },
            [&refs](std::int32_t id) { return refs.MaterialNameById(id); });
    });
}

void MainReports::reportFiberglass(const FiberglassResults &results, int layingIndex, const QString &layingText)
{
    build(FiberglassReport::TemplateName, [&](TemplateFiller &filler) {
        FiberglassReport::Choices choices;
        choices.materialId = m_main.vars().SelectedMaterialId;
        choices.soilId = m_main.vars().SelectedSoilId;
        choices.layingIndex = layingIndex;
        choices.layingText = layingText;
        ReferenceData &refs = m_main.referenceData();
        FiberglassReport::fill(filler, results, choices, [&refs](std::int32_t id) { return refs.SoilNameById(id); });
    });
}
