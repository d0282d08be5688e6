-- Every field, no row.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
