// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PrivateCups.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cups/cups.h>

namespace PrivateCups {

bool available()
{
    return qEnvironmentVariableIsSet("PELORA_PRIVATE_CUPS") && qEnvironmentVariableIsSet("CUPS_SERVER");
}

Job job(int id, const QString &server)
{
    Job result;
    const QByteArray host = server.isEmpty() ? qgetenv("CUPS_SERVER") : server.toLocal8Bit();
    http_t *http = httpConnect2(host.constData(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    if (!http)
        return result;
    httpSetTimeout(http, 5.0, nullptr, nullptr);
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
                 QByteArray("ipp://localhost/jobs/" + QByteArray::number(id)).constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (ipp_t *response = cupsDoRequest(http, request, "/")) {
        result.copies = 1;  // a job sent without a copy count prints once
        if (ipp_attribute_t *attr = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
            result.state = ippGetInteger(attr, 0);
        if (ipp_attribute_t *attr = ippFindAttribute(response, "job-name", IPP_TAG_NAME))
            result.name = QString::fromUtf8(ippGetString(attr, 0, nullptr));
        if (ipp_attribute_t *attr = ippFindAttribute(response, "copies", IPP_TAG_INTEGER))
            result.copies = ippGetInteger(attr, 0);
        ippDelete(response);
    }
    httpClose(http);
    return result;
}

Job waitForJob(int id, const QString &server)
{
    // The scheduler is asked again and again until the job has ended; its
    // filters take a moment per job.
    const QDeadlineTimer deadline(90000);
    Job result = job(id, server);
    while (result.state < IPP_JSTATE_CANCELED && !deadline.hasExpired()) {
        QTest::qWait(50);
        result = job(id, server);
    }
    return result;
}

int lastJobId(const QString &server)
{
    const QByteArray host = server.isEmpty() ? qgetenv("CUPS_SERVER") : server.toLocal8Bit();
    http_t *http = httpConnect2(host.constData(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    if (!http)
        return 0;
    httpSetTimeout(http, 5.0, nullptr, nullptr);
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(http, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int last = 0;
    for (int i = 0; i < count; ++i)
        last = qMax(last, jobs[i].id);
    cupsFreeJobs(count, jobs);
    httpClose(http);
    return last;
}

QString output(const QString &queue, int id)
{
    return qEnvironmentVariable("PELORA_PDF_OUT_DIR") + QStringLiteral("/%1/job-%2.pdf").arg(queue).arg(id);
}

QStringList options(const QString &queue, int id)
{
    QFile file(qEnvironmentVariable("PELORA_PDF_OUT_DIR") + QStringLiteral("/%1/job-%2.options").arg(queue).arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).simplified().split(u' ');
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    // The tests read what the tools say in English, whatever the test's own language.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString &pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
}

}  // namespace PrivateCups
