# Sourced by scripts/test-windows and scripts/test-linux (never run by itself): the end-to-end
# tests, the suites that run the program as a process. A new such suite is picked when its name
# ends in EndToEnd or Process, or when it is added here.
suites='[A-Za-z]*(EndToEnd|Process)|ServerCatalogTest|FullCatalogTest|ServerCatalogFaultTest'
suites+='|FullCatalogFaultTest|CatalogIgnoredStatusTest|CatalogWriteFailureTest|NabExport'
suites+='|ServerList|LogScanExport|LogScanFailure'
end_to_end_filter="^([A-Za-z]+/)?($suites)\\."
unset suites
