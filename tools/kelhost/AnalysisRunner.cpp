#include "AnalysisRunner.h"

#include "HostOptions.h"
#include "ICurrentApplication.h"
#include "KelhostResourceIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>

#include <cstdio>
#include <memory>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

QString userCacheDirectory()
{
    const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
    const QString base = xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.cache") : xdg;
    return base + QStringLiteral("/chronex");
}

/// The tool beside kelhost when there is one (the build tree, an installation), else its name
/// for PATH.
QString toolPath(const std::string &program)
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QString::fromStdString(program);
    return QFileInfo(beside).isExecutable() ? beside : QString::fromStdString(program);
}

QProgressDialog *progressDialog(int steps)
{
    auto *dialog = new QProgressDialog(QString(), text(KelRes::hostAnalysisCancel), 0, steps);
    dialog->setWindowTitle(text(KelRes::hostAnalysisTitle));
    dialog->setMinimumDuration(300);
    dialog->setMinimumWidth(480);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    return dialog;
}

QProgressDialog *s_dialog = nullptr;

} // namespace

AnalysisRunner::AnalysisRunner(const HostOptions &options)
    : m_options(options)
{}

bool AnalysisRunner::run(std::string &error)
{
    if (!m_plan.build(m_options.sources,
                      m_options.dialect,
                      m_options.includeDirectories,
                      userCacheDirectory().toStdString(),
                      error))
        return false;
    if (!QDir().mkpath(QString::fromStdString(m_plan.outputDirectory()))) {
        error = "Cannot create the analysis directory " + m_plan.outputDirectory() + ".";
        return false;
    }
    const auto &steps = m_plan.steps();
    std::unique_ptr<QProgressDialog> dialog(progressDialog(static_cast<int>(steps.size())));
    s_dialog = dialog.get();
    std::vector<std::string> failures;
    const int sources = static_cast<int>(m_plan.sources().size());
    for (std::size_t index = 0; index < steps.size(); ++index) {
        const AnalysisPlan::Step &step = steps[index];
        const QString name = QFileInfo(QString::fromStdString(step.source)).fileName();
        const unsigned long label = step.tool == AnalysisPlan::Step::Tool::compilerDriver
                                        ? KelRes::hostAnalysisChecking
                                        : KelRes::hostAnalysisRecording;
        dialog->setLabelText(
            text(label).arg(name).arg(static_cast<int>(index / 2) + 1).arg(sources));
        dialog->setValue(static_cast<int>(index));
        std::printf("%s %s with %s\n",
                    step.tool == AnalysisPlan::Step::Tool::compilerDriver ? "Checking"
                                                                          : "Recording",
                    step.source.c_str(),
                    step.program.c_str());
        std::fflush(stdout);
        bool cancelled = false;
        std::string problem;
        if (!runStep(step, problem, cancelled)) {
            if (cancelled) {
                error = "The analysis was cancelled.";
                s_dialog = nullptr;
                return false;
            }
            failures.push_back(problem);
            std::fprintf(stderr, "kelhost: %s\n", problem.c_str());
            // Recording needs what checking wrote.
            if (step.tool == AnalysisPlan::Step::Tool::compilerDriver)
                ++index;
        }
    }
    dialog->setValue(static_cast<int>(steps.size()));
    s_dialog = nullptr;
    if (!QFileInfo::exists(QString::fromStdString(m_plan.databaseFile()))) {
        error = "No source could be analysed, so there is no database to open ("
                + m_plan.databaseFile() + ").";
        for (const std::string &failure : failures)
            error += "\n  " + failure;
        return false;
    }
    return true;
}

bool AnalysisRunner::runStep(const AnalysisPlan::Step &step, std::string &error, bool &cancelled)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(QString::fromStdString(step.workingDirectory));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : step.environment)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    QStringList arguments;
    for (const std::string &argument : step.arguments)
        arguments << QString::fromStdString(argument);
    process.start(toolPath(step.program), arguments);
    if (!process.waitForStarted()) {
        error = step.program + " could not be started for " + step.source + ": "
                + process.errorString().toStdString();
        return false;
    }
    while (!process.waitForFinished(50)) {
        QCoreApplication::processEvents();
        if (s_dialog && s_dialog->wasCanceled()) {
            process.kill();
            process.waitForFinished();
            cancelled = true;
            return false;
        }
    }
    const QByteArray output = process.readAll();
    if (process.exitStatus() == QProcess::CrashExit) {
        error = step.program + " crashed on " + step.source + ".";
        return false;
    }
    if (process.exitCode() > step.highestSuccess) {
        error = step.program + " ended with " + std::to_string(process.exitCode()) + " on "
                + step.source + ":\n" + output.trimmed().toStdString();
        return false;
    }
    return true;
}
