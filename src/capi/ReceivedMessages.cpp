#include "capi/ReceivedMessages.h"

TCapiConfirmation::TCapiConfirmation(std::span<const quint8> received, bool withDataHandle)
    : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    if (withDataHandle)
        m_dataHandle = r.word();
    m_info = r.word();
    finish(r);
}

TConnectInd::TConnectInd(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_cipValue = r.word();
    m_calledPartyNumber = TCallingPartySubAddress(r.structure());
    m_callingPartyNumber = TCallingPartyNumber(r.structure());
    m_calledPartySubAddress = TCallingPartySubAddress(r.structure());
    m_callingPartySubAddress = TCallingPartySubAddress(r.structure());
    m_bc = r.structure();
    m_llc = r.structure();
    m_hlc = r.structure();
    m_additionalInfo = r.structure();
    finish(r);
}

TConnectActiveInd::TConnectActiveInd(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_connectedNumber = TCallingPartyNumber(r.structure());
    m_connectedSubAddress = TCallingPartySubAddress(r.structure());
    m_llc = r.structure();
    finish(r);
}

TDisconnectInd::TDisconnectInd(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_reason = r.word();
    finish(r);
}

TInfoInd::TInfoInd(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_infoNumber = r.word();
    m_infoElement = r.structure();
    finish(r);
}

TNcciNcpiIndication::TNcciNcpiIndication(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_ncpi = r.structure();
    finish(r);
}

TDisconnectB3Ind::TDisconnectB3Ind(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_reasonB3 = r.word();
    m_ncpi = r.structure();
    finish(r);
}

TDataB3Ind::TDataB3Ind(std::span<const quint8> received) : TCapiReceivedMessage(received)
{
    CapiParameterReader r(parameters());
    m_address = r.dword();
    m_data = r.dword();
    m_dataLength = r.word();
    m_dataHandle = r.word();
    m_flags = r.word();
    finish(r);
}
