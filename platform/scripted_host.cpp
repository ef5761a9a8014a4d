#include "platform/scripted_host.h"

namespace kestrel {

MsgResult ScriptedHost::MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                               std::string_view title) {
    messages.push_back({std::string(text), std::string(title), buttons, icon});
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    if (answers.empty()) {
        unscripted.push_back("message: " + std::string(text));
        return OffersCancel(buttons) ? MsgResult::Cancel : MsgResult::No;
    }
    const MsgResult answer = answers.front();
    answers.pop_front();
    // Cancel on a box that does not offer it would let a test pass what no user could do.
    if (answer == MsgResult::Cancel && !OffersCancel(buttons))
        unscripted.push_back("no Cancel offered: " + std::string(text));
    return answer;
}

std::optional<std::string> ScriptedHost::InputBox(std::string_view prompt, std::string_view) {
    prompts.emplace_back(prompt);
    if (inputs.empty()) {
        unscripted.push_back("prompt: " + std::string(prompt));
        return std::nullopt;
    }
    auto answer = inputs.front();
    inputs.pop_front();
    return answer;
}

std::optional<std::filesystem::path> ScriptedHost::OpenFile(std::string_view filter) {
    fileFilters.emplace_back(filter);
    if (files.empty()) {
        unscripted.push_back("open file: " + std::string(filter));
        return std::nullopt;
    }
    auto answer = files.front();
    files.pop_front();
    return answer;
}

void ScriptedHost::RunModal(Form& form) {
    events.push_back("modal " + form.Name());
    const auto script = onModal.find(form.Name());
    if (script != onModal.end()) {
        auto run = script->second;
        run(form);
    }
    if (form.IsVisible()) {
        unscripted.push_back("modal left open: " + form.Name());
        form.Hide();
    }
}

std::optional<std::filesystem::path> ScriptedHost::SaveFile(const std::filesystem::path& suggested,
                                                            std::string_view filter) {
    savesSuggested.push_back(suggested);
    saveFilters.emplace_back(filter);
    if (saveAnswers.empty()) {
        unscripted.push_back("save file: " + suggested.string());
        return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool ScriptedHost::ChoosePrinter(std::string_view document) {
    printerDialogs.push_back(PdfFileName(document));
    if (printerAnswers.empty()) {
        unscripted.push_back("printer dialog");
        return false;
    }
    const bool chosen = printerAnswers.front();
    printerAnswers.pop_front();
    return chosen;
}

void ScriptedHost::FormShown(Form& form) {
    events.push_back("show " + form.Name());
}

void ScriptedHost::FormHidden(Form& form) {
    events.push_back("hide " + form.Name());
}

void ScriptedHost::FormUnloading(Form& form) {
    events.push_back("unload " + form.Name());
}

void ScriptedHost::BringToFront(Form& form) {
    events.push_back("front " + form.Name());
}

std::vector<std::string> ScriptedHost::MessageTexts() const {
    std::vector<std::string> texts;
    texts.reserve(messages.size());
    for (const auto& message : messages)
        texts.push_back(message.text);
    return texts;
}

}  // namespace kestrel
