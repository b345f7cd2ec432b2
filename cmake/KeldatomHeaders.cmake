# The public face: the headers an embedding server includes (the object manager and the
# transaction runner, the managers, the objects, the kernel types, KelDatabase::Open and
# its exceptions) and those they include in turn. Only these are installed. The drivers'
# statement interface and the tables' internals (db/keldrv*.hpp, db/keldtabi.hpp, the row
# and column helpers, the managers' trace helpers) stay inside the library.
# tests/CMakeLists.txt checks that every header listed here includes only listed headers.
set(KELDATOM_PUBLIC_HEADERS
    admin/keldatom.hpp admin/keldatxn.hpp
    admin/keldtad1.hpp admin/keldtad2.hpp admin/keldtad3.hpp admin/keldtad4.hpp
    staff/keldstpr.hpp staff/keldstro.hpp
    topology/keldttdm.hpp topology/keldttse.hpp topology/keldttsv.hpp topology/keldttsy.hpp
    tom/keldtgen.hpp tom/keldtom.hpp tom/keldtprm.hpp tom/keldtqry.hpp tom/keltinyom.hpp tom/keltpool.hpp
    db/keldb.hpp db/keldbexc.hpp db/keldkrnl.hpp
    # The accessors and rows, by name: the managers' templates are written against them.
    db/keldacc.hpp db/keldtab.hpp
    db/keldadom.hpp db/keldaerl.hpp db/keldaper.hpp db/keldarol.hpp db/keldaslg.hpp
    db/keldassv.hpp db/keldassy.hpp db/keldasvi.hpp db/keldasys.hpp
    db/keldsdf.hpp db/keldsdom.hpp db/keldsper.hpp db/keldsrol.hpp db/keldssvr.hpp db/keldssys.hpp
    db/kellob.hpp
    objects/kelascctx.hpp objects/kelasenum.hpp objects/kelasvin.hpp objects/kelasyss.hpp
    objects/kelmstrm.hpp objects/kelmtadm.hpp objects/kelmtbld.hpp objects/kelmtdat.hpp objects/kelmtdom.hpp
    objects/kelmtenum.hpp objects/kelmtkwd.hpp objects/kelmtlpc.hpp objects/kelmtper.hpp
    objects/kelmtprs.hpp objects/kelmtrep.hpp objects/kelmtrol.hpp objects/kelmtseq.hpp
    objects/kelmtsvr.hpp objects/kelmtsys.hpp objects/kelmttpb.hpp
    kernel/kelienti.hpp kernel/kelkbin.hpp kernel/kelkblk.hpp kernel/kelkcon.hpp kernel/kelkcopr.hpp kernel/kelkexc.hpp
    kernel/kelkfun.hpp kernel/kelknam.hpp kernel/kelkoid.hpp kernel/kelkstr.hpp kernel/kelktim.hpp
    kernel/kelktrc.hpp kernel/kelmsvid.hpp kernel/kelmsyst.hpp kernel/kelmusid.hpp)
