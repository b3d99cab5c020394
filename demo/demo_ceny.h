#pragma once
// The prices of the demo data root that sales pricing reads beside the products' own: every
// product's prices brought to the relations of the product form, quantity
// rebates on a dozen products, the excise duty of the thinners with their volumes, the agreed
// prices of three customers, and a customer in Slovakia invoiced in euros. It runs after the
// products and partners.

namespace brix {

class Database;

namespace demo {

struct CenyDema {
    int mnozstevnichRabatu = 0; // products with quantity rebates
    int redidel = 0;            // thinners with volume and excise duty
    int cenZakazniku = 0;       // customers' agreed prices
    int zakaznikEUR = 0;        // the number of the customer in euros
    int dorovnanychCen = 0;     // products whose markups or minimum price were brought in line
};

// Writes them inside the caller's transaction.
CenyDema NaplnCeny(Database& db);

} // namespace demo
} // namespace brix
