# Where the client finds the site and its servers. The defaults are the
# companion server on loopback; environment variables of the same names
# override them at run time without a rebuild. A host may carry ":port".
set(QIRELO_SITE_HOST "127.0.0.1:12860" CACHE STRING "The site's main host (login, play pages, updates)")
set(QIRELO_MOBILE_HOST "127.0.0.1:12863" CACHE STRING "The mobile site's host")
set(QIRELO_RELAY_HOST "127.0.0.1" CACHE STRING "The relay server's host (port 12861 unless it names one)")
set(QIRELO_TIMER_HOST "127.0.0.1:12862" CACHE STRING "The timer host")
