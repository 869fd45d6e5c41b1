#include "command.h"
#include "field_state.h"
#include "settings_file.h"
#include "tmk.h"

std::unique_ptr<TMK> OpenSettingsForEditing(const QString &path)
{
    auto model = NewProgramModel();
    LoadSettingsFile(*model, path);
    ed::OpenForEditing(*model);
    return model;
}

void SaveEditedSettings(TMK &model, const QString &path)
{
    for (int i = 1; i <= 10; ++i)
        model.PackBlock(i);
    SaveSettingsFile(model, path);
}
