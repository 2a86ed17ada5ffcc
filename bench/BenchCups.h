// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The private CUPS the printing benchmarks need (scripts/bench.sh starts
// one), and the state of a job on it.
#include <QByteArray>
#include <QString>

#include <cups/cups.h>

#include <benchmark/benchmark.h>

inline bool privateCups(benchmark::State &state)
{
    if (qEnvironmentVariable("PELORA_PRIVATE_CUPS") == QLatin1String("1"))
        return true;
    state.SkipWithError("no private CUPS: run scripts/bench.sh");
    return false;
}

inline int jobState(int id)
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    if (!http)
        return 0;
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
                 QByteArray("ipp://localhost/jobs/" + QByteArray::number(id)).constData());
    int result = 0;
    if (ipp_t *response = cupsDoRequest(http, request, "/")) {
        if (ipp_attribute_t *attr = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
            result = ippGetInteger(attr, 0);
        ippDelete(response);
    }
    httpClose(http);
    return result;
}
