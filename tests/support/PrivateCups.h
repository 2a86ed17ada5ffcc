// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The throw-away CUPS that ./test.sh starts: where its output goes and what
// became of a job.
namespace PrivateCups {

// Fails the calling test when the private scheduler is not set up, so that
// no test ever reaches the machine's own CUPS.
bool available();

struct Job
{
    int state = 0;  // IPP job-state; 0 when the job is unknown
    QString name;
    int copies = 0;
};

// The job's attributes from the scheduler at `server` (default: CUPS_SERVER).
Job job(int id, const QString &server = QString());

// Waits (bounded) until the job has ended one way or another.
Job waitForJob(int id, const QString &server = QString());

// The highest job id the scheduler has seen.
int lastJobId(const QString &server = QString());

// The PDF the file queue wrote for the job.
QString output(const QString &queue, int id);
// The options the queue's driver got with the job, "name=value" each.
QStringList options(const QString &queue, int id);

// Runs a tool and returns its standard output; empty on failure.
QString runTool(const QString &program, const QStringList &arguments);

int pdfPages(const QString &pdf);

}  // namespace PrivateCups
